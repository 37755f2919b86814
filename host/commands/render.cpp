// kestrel render PANEL.cfg|MODULE: pictures of a panel or a module, as it
// comes up or at moments of a scenario.
#include <math.h>
#include <stdio.h>

#include <set>

#include "host/commands/pictures.h"
#include "host/commands/commands.h"
#include "host/files.h"
#include "host/panel/load.h"
#include "host/render/render.h"
#include "host/util.h"

namespace kestrel {

namespace {

struct Moment {
    enum { Frame, Seconds, End } kind;
    double when;
    bool done = false;
};

bool parse_moments(const std::vector<std::string>& words, std::vector<Moment>* out) {
    for (const std::string& w : words) {
        double v;
        if (w == "end") {
            out->push_back({Moment::End, 0});
        } else if (w.size() > 1 && w.back() == 's' && parse_double(w.substr(0, w.size() - 1), &v) && v >= 0 &&
                   v < 1e9) {
            out->push_back({Moment::Seconds, v});
        } else if (parse_double(w, &v) && v >= 0 && v < 1e12 && v == floor(v)) {
            out->push_back({Moment::Frame, v});
        } else {
            fprintf(stderr, "kestrel: --at takes frame numbers, times such as 2.5s, and end; not '%s'\n", w.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int render_command(const PictureOptions& o, const HostOptions& host_options, const std::string& artwork_dir) {
    std::vector<Moment> moments;
    if (!parse_moments(o.at, &moments)) return 2;
    if (!o.scenario.empty() && moments.empty()) moments.push_back({Moment::End, 0});
    if (o.scenario.empty() && !moments.empty()) {
        fputs("kestrel: --at needs --scenario\n", stderr);
        return 2;
    }

    PanelConfig config = is_panel_file(o.target) ? read_panel_config(o.target) : single_module(o.target);
    match_module_names(&config, host_options.gauge_dir);
    const std::string stem = is_panel_file(o.target) ? file_stem(o.target) : module_name(o.target);
    std::string error;
    if (!make_dirs(o.out, &error)) {
        fprintf(stderr, "kestrel: %s\n", error.c_str());
        return 2;
    }
    Host host(host_options);
    Renderer renderer(artwork_dir, o.light);
    renderer.set_colors(config.colors);
    renderer.set_placeholders(true);
    const std::vector<std::string> names = picture_names(config, stem);
    int status = 0;
    // The pop-ups opened over the main window.
    const PanelWindow* main = main_window(config);
    std::vector<const PanelWindow*> popups;
    for (const std::string& name : o.open) {
        const PanelWindow* w = find_window(config, name);
        if (!w || w == main || w->kind != PanelWindow::Kind::Window) {
            std::string titles;
            for (const PanelWindow& other : config.windows)
                if (&other != main && other.kind == PanelWindow::Kind::Window)
                    titles += (titles.empty() ? "" : ", ") + other.title;
            fprintf(stderr, "kestrel: %s has no pop-up window '%s'%s%s\n", o.target.c_str(), name.c_str(),
                    titles.empty() ? "" : "; its windows: ", titles.c_str());
            return 2;
        }
        popups.push_back(w);
    }

    std::set<std::string> told;
    auto picture = [&](const std::string& suffix) {
        // Modules the scenario loaded that the panel has no place for: named
        // once, on one line.
        std::vector<std::string> fresh;
        for (const std::string& m : unplaced(host, config))
            if (told.insert(m).second) fresh.push_back(m);
        if (!fresh.empty()) fprintf(stderr, "%s\n", unplaced_line(config, fresh).c_str());
        for (size_t w = 0; w < config.windows.size(); ++w) {
            Surface s = &config.windows[w] == main ? renderer.window_picture(config.windows[w], popups, host, o.scale)
                                                   : renderer.window_picture(config.windows[w], host, o.scale);
            const std::string path = o.out + "/" + names[w] + suffix + ".png";
            if (cairo_surface_write_to_png(s.get(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
                fprintf(stderr, "kestrel: cannot write %s\n", path.c_str());
                status = 1;
            } else {
                printf("%s\n", path.c_str());
            }
        }
        print_all(renderer.take_notes());
    };

    print_all(window_notes(config));
    if (o.scenario.empty()) {
        std::vector<std::string> messages = load_panel(host, config, host_options.gauge_dir);
        print_all(messages);
        // A panel is drawn with its backgrounds and placeholders even when
        // none of its modules is here; a module alone has nothing to draw.
        if (config.windows.empty() || (host.gauges().empty() && !is_panel_file(o.target))) {
            fprintf(stderr, "kestrel: nothing of %s could be loaded\n", o.target.c_str());
            return 1;
        }
        host.frame();  // the callbacks run and the first-draw resets happen
        picture("");
        return status;
    }

    std::string text;
    if (!read_whole_file(o.scenario, &text)) {
        fprintf(stderr, "kestrel: cannot read the scenario %s\n", o.scenario.c_str());
        return 2;
    }
    if (is_panel_file(o.target)) {
        print_all(config.messages());
        print_all(missing_modules(config, host_options.gauge_dir));
    }
    Run run(host, file_stem(o.scenario) + ".kes");
    run.scenario.folder = folder_of(o.scenario);
    run.on_frame = [&](uint64_t frame) {
        for (Moment& m : moments) {
            if (m.done || m.kind == Moment::End) continue;
            const bool now = m.kind == Moment::Frame ? double(frame) >= m.when : run.seconds >= m.when - 1e-9;
            if (!now) continue;
            m.done = true;
            picture(format("_%04llu", static_cast<unsigned long long>(frame)));
        }
    };
    // Pictures at the end must see the gauges before the scenario's own last
    // lines unload them: an "end" picture is taken before any unload.
    const bool ok = run.play(text, [&](const Command& c) {
        if (c.kind != Command::Unload) return;
        for (Moment& m : moments)
            if (m.kind == Moment::End && !m.done) {
                m.done = true;
                picture("");
            }
    });
    if (!ok) {
        fprintf(stderr, "%s\n", run.scenario.error().c_str());
        return 2;
    }
    for (Moment& m : moments) {
        if (m.done) continue;
        if (m.kind == Moment::End) picture("");
        else fprintf(stderr, "kestrel: the scenario ended before %s\n",
                     m.kind == Moment::Frame ? format("frame %.0f", m.when).c_str() : format("%gs", m.when).c_str());
    }
    if (run.scenario.failures()) {
        fprintf(stderr, "kestrel: %d failed expectations or faults in %s (see kestrel run)\n",
                run.scenario.failures(), o.scenario.c_str());
        return 1;
    }
    return status;
}

}  // namespace kestrel
