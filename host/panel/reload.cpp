#include "host/panel/reload.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "host/panel/load.h"
#include "host/util.h"

namespace kestrel {

namespace {

Reloaded reload(Host& host, const PanelConfig& config, const std::string& gauge_dir, std::set<std::string> names) {
    const auto start = std::chrono::steady_clock::now();
    Reloaded r;
    // Readers first, the owner last, each with its pre-kill.
    std::vector<std::string> loaded;
    for (const auto& g : host.gauges()) loaded.push_back(g->name);
    for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
        if (names.count(*it)) host.unload(*it);
    // What the panel has that is not loaded now, in its order: the modules
    // unloaded, and any that had failed before.
    const size_t own = config.messages().size();
    std::vector<std::string> messages = load_panel(host, config, gauge_dir);
    r.problems.assign(messages.begin() + static_cast<std::ptrdiff_t>(std::min(own, messages.size())), messages.end());
    const std::vector<std::string> order = config.modules();
    host.order_gauges(order);
    for (const std::string& m : order)
        if (names.count(m) && host.find(m)) r.modules.push_back(m);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return r;
}

}  // namespace

std::string Reloaded::summary(const std::string& module) const {
    std::string readers;
    for (const std::string& m : modules)
        if (m != module) readers += " " + m;
    const bool back = std::find(modules.begin(), modules.end(), module) != modules.end();
    return format("%s %s%s%s in %.0f ms", back ? "reloaded" : "could not reload", module.c_str(),
                  readers.empty() ? "" : ", and its readers", readers.c_str(), seconds * 1000);
}

Reloaded reload_module(Host& host, const PanelConfig& config, const std::string& gauge_dir, const std::string& module) {
    std::set<std::string> names{module};
    const Gauge* owner = host.find(module);
    for (const auto& g : host.gauges())
        if (!owner) names.insert(g->name);
    // The readers of what the gauges going own, and theirs in turn.
    for (size_t before = 0; before != names.size();) {
        before = names.size();
        for (const Registry::Entry& e : host.registry.entries()) {
            if (!e.owner || !names.count(e.owner->name)) continue;
            for (const Gauge* reader : host.registry.binders(e.name))
                if (reader) names.insert(reader->name);
        }
    }
    return reload(host, config, gauge_dir, std::move(names));
}

Reloaded reload_panel(Host& host, const PanelConfig& config, const std::string& gauge_dir) {
    std::set<std::string> names;
    for (const auto& g : host.gauges()) names.insert(g->name);
    for (const std::string& m : config.modules()) names.insert(m);
    return reload(host, config, gauge_dir, std::move(names));
}

}  // namespace kestrel
