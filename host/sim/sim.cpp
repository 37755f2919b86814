#include "host/sim/sim.h"

#include <math.h>

#include <algorithm>

#include "host/util.h"

namespace kestrel {

Sim::Var& Sim::written(uint32_t id) {
    // A value set from outside ends any hold of the variable.
    std::erase_if(held_, [id](const Held& h) { return h.id == id; });
    auto it = vars_.find(id);
    // The value before a key event's first write to it, for the event's report.
    if (before_ && !before_->count(id))
        (*before_)[id] = it == vars_.end() ? std::nullopt : std::optional<Var>(it->second);
    return it == vars_.end() ? vars_[id] : it->second;
}

void Sim::set(uint32_t id, double value) {
    Var& v = written(id);
    v.value = value;
    v.is_bcd = false;
    v.bcd = 0;
}

void Sim::set_bcd(uint32_t id, uint32_t bcd) {
    Var& v = written(id);
    v.bcd = bcd;
    v.is_bcd = true;
    v.value = bcd;
}

const Sim::Var* Sim::find(uint32_t id) const {
    auto it = vars_.find(id);
    return it == vars_.end() ? nullptr : &it->second;
}

double Sim::get(uint32_t id) const {
    const Var* v = find(id);
    return v ? v->value : 0.0;
}

void Sim::lookup(ModuleVar* record) const {
    record->previous = record->value;
    if (reads_ && record->id) reads_->insert(record->id);
    const Var* v = record->id ? find(record->id) : nullptr;
    if (v && v->is_bcd) {
        record->value.d = 0;
        record->value.u = v->bcd;
    } else {
        record->value.d = v ? v->value : 0.0;
    }
}

void Sim::set_frame_rate(uint32_t fps) {
    fps_ = fps == 0 ? 1 : fps;
    tick_remainder_ = 0;
}

// The tick counter moves 18 ticks a second of panel time: one per frame at
// 18 frames a second, several at a time at lower rates.
void Sim::advance_frame() {
    ++frame_;
    tick_remainder_ += TICKS_PER_SECOND;
    const uint32_t ticks = tick_remainder_ / fps_;
    tick_remainder_ %= fps_;
    if (ticks) set(VAR_TICKS, get(VAR_TICKS) + ticks);
    std::vector<Held> released;
    for (Held& h : held_)
        if (--h.frames == 0) released.push_back(h);
    for (const Held& h : released) set(h.id, h.released);
    for (const SimModel* m : models_) m->step(*this);
}

bool Sim::enable_model(const std::string& name, bool on) {
    if (name == "all") {
        models_.clear();
        if (on) models_ = sim_models();
        return true;
    }
    const SimModel* model = find_sim_model(name);
    if (!model) return false;
    std::erase(models_, model);
    if (on) {
        // Keep the table's order, whatever order they were switched on in.
        models_.push_back(model);
        std::vector<const SimModel*> ordered;
        for (const SimModel* m : sim_models())
            if (std::find(models_.begin(), models_.end(), m) != models_.end()) ordered.push_back(m);
        models_ = ordered;
    }
    return true;
}

bool Sim::model_enabled(const std::string& name) const {
    for (const SimModel* m : models_)
        if (name == m->name) return true;
    return false;
}

void Sim::hold(uint32_t id, double value, double released) {
    set(id, value);
    held_.push_back({id, released, 2});
}

std::vector<std::string> Sim::key_event(uint32_t event_id, uint32_t value) {
    std::vector<std::string> changes;
    const KeyEffect* effect = find_key_effect(event_id);
    if (!effect) return changes;
    // Only what the effect writes can change: those variables' values before.
    std::map<uint32_t, std::optional<Var>> before;
    before_ = &before;
    effect->apply(*this, value);
    before_ = nullptr;
    for (const auto& [id, old] : before) {
        const Var& v = vars_.at(id);
        const bool same = old && old->is_bcd == v.is_bcd &&
                          (v.is_bcd ? old->bcd == v.bcd
                                    : (old->value == v.value || (isnan(old->value) && isnan(v.value))));
        if (same) continue;
        changes.push_back(hex(id) + " = " + (v.is_bcd ? "bcd " + hex(v.bcd) : number(v.value)));
    }
    return changes;
}

}  // namespace kestrel
