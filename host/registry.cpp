#include "host/registry.h"

#include <algorithm>

namespace kestrel {

bool Registry::add(const Gauge* owner, void* storage, uint32_t type, const std::string& name) {
    if (!storage || find(name)) return false;
    entries_.push_back({name, storage, type, owner, *static_cast<int32_t*>(storage)});
    return true;
}

bool Registry::bind(const Gauge* binder, ModuleVar* record, const std::string& name) {
    const Entry* e = find(name);
    record->value_ptr = e ? e->storage : nullptr;
    if (e) record->type = e->type;
    // One binding per record: a record bound again forgets its old name.
    bindings_.erase(std::remove_if(bindings_.begin(), bindings_.end(),
                                   [&](const Binding& b) { return b.record == record; }),
                    bindings_.end());
    if (e) bindings_.push_back({record, name, binder});
    return e != nullptr;
}

void Registry::unbind_name(const std::string& name) {
    for (const Binding& b : bindings_)
        if (b.name == name) b.record->value_ptr = nullptr;
    bindings_.erase(std::remove_if(bindings_.begin(), bindings_.end(),
                                   [&](const Binding& b) { return b.name == name; }),
                    bindings_.end());
}

bool Registry::remove(const std::string& name) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.name == name; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    unbind_name(name);
    return true;
}

void Registry::forget(const Gauge* gauge) {
    bindings_.erase(std::remove_if(bindings_.begin(), bindings_.end(),
                                   [&](const Binding& b) { return b.binder == gauge; }),
                    bindings_.end());
    std::vector<std::string> owned;
    for (const Entry& e : entries_)
        if (e.owner == gauge) owned.push_back(e.name);
    for (const std::string& name : owned) remove(name);
}

const Registry::Entry* Registry::find(const std::string& name) const {
    for (const Entry& e : entries_)
        if (e.name == name) return &e;
    return nullptr;
}

int32_t Registry::value(const std::string& name) const {
    const Entry* e = find(name);
    return e ? *static_cast<const int32_t*>(e->storage) : 0;
}

bool Registry::set(const std::string& name, int32_t value) {
    const Entry* e = find(name);
    if (!e) return false;
    *static_cast<int32_t*>(e->storage) = value;
    return true;
}

std::vector<const Gauge*> Registry::binders(const std::string& name) const {
    std::vector<const Gauge*> out;
    for (const Binding& b : bindings_)
        if (b.name == name && std::find(out.begin(), out.end(), b.binder) == out.end()) out.push_back(b.binder);
    return out;
}

std::vector<Registry::Change> Registry::collect_changes() {
    std::vector<Change> changes;
    for (Entry& e : entries_) {
        const int32_t now = *static_cast<const int32_t*>(e.storage);
        if (now != e.last_seen) changes.push_back({e.name, e.last_seen, now});
        e.last_seen = now;
    }
    return changes;
}

}  // namespace kestrel
