// The host's registry of named variables: a module registers a 32-bit integer
// of its own under a name, other modules bind records to it by name. The
// registry remembers every binding, so that when a name is withdrawn or its
// owner unloaded, the records bound to it lose their pointer (they then read
// 0 and drop writes) instead of pointing into a module that is gone.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "frame/records.h"

namespace kestrel {

struct Gauge;

class Registry {
public:
    struct Entry {
        std::string name;
        void* storage;
        uint32_t type;
        const Gauge* owner;
        int32_t last_seen;  // the value when changes were last collected
    };

    // False if the name is already registered (the first registration stays).
    bool add(const Gauge* owner, void* storage, uint32_t type, const std::string& name);
    // Binds the record: its value pointer addresses the storage, or is null
    // when the name is not registered. Returns whether the name was found.
    bool bind(const Gauge* binder, ModuleVar* record, const std::string& name);
    // False if the name was not registered.
    bool remove(const std::string& name);
    // Drops whatever the gauge owns or bound (its module is being unloaded).
    void forget(const Gauge* gauge);

    const Entry* find(const std::string& name) const;
    const std::vector<Entry>& entries() const { return entries_; }
    int32_t value(const std::string& name) const;  // 0 if not registered
    // The gauges whose records are bound to the name, in binding order.
    std::vector<const Gauge*> binders(const std::string& name) const;
    bool set(const std::string& name, int32_t value);  // false if not registered

    // Values that changed since the last call, as (name, old, new).
    struct Change {
        std::string name;
        int32_t before, after;
    };
    std::vector<Change> collect_changes();

private:
    struct Binding {
        ModuleVar* record;
        std::string name;
        const Gauge* binder;
    };
    void unbind_name(const std::string& name);

    std::vector<Entry> entries_;  // in registration order
    std::vector<Binding> bindings_;
};

}  // namespace kestrel
