#include "host/loader.h"

#include <set>

#include "host/util.h"

namespace kestrel {

bool Memory::readable(const void* p, size_t size) const {
    const uintptr_t a = reinterpret_cast<uintptr_t>(p);
    if (!p || a + size < a) return false;
    for (const Range& r : data)
        if (a >= r.begin && a + size <= r.end) return true;
    return false;
}

bool Memory::executable(const void* p) const {
    const uintptr_t a = reinterpret_cast<uintptr_t>(p);
    for (const Range& r : code)
        if (a >= r.begin && a < r.end) return true;
    return false;
}

bool Memory::writable(const void* p, size_t size) const {
    if (!readable(p, size)) return false;
    const uintptr_t a = reinterpret_cast<uintptr_t>(p);
    for (const Range& r : readonly)
        if (a < r.end && a + size > r.begin) return false;
    return true;
}

bool Memory::string(const char* p, size_t max) const {
    for (size_t i = 0; i <= max; ++i) {
        if (!readable(p + i, 1)) return false;
        if (p[i] == '\0') return true;
    }
    return false;
}

size_t element_size(uint32_t kind) {
    switch (kind) {
    case KIND_STATIC: return sizeof(StaticElement);
    case KIND_NEEDLE: return sizeof(NeedleElement);
    case KIND_TEXT: return sizeof(TextElement);
    case KIND_SLIDER: return sizeof(SliderElement);
    case KIND_ICON: return sizeof(IconElement);
    case KIND_MOVING: return sizeof(MovingElement);
    case KIND_SPRITE: return sizeof(SpriteElement);
    default: return 0;
    }
}

const char* kind_name(uint32_t kind) {
    static const char* const names[] = {"static", "needle", "text",  "slider",
                                        "icon",   "moving", "sprite"};
    return kind < 7 ? names[kind] : "unknown";
}

namespace {

// Records are read through typed pointers: one at an address its type cannot
// have would be undefined behaviour (and a fault on some processors).
template <class T>
bool aligned(const T* p) {
    return reinterpret_cast<uintptr_t>(p) % alignof(T) == 0;
}

template <class F>
bool callback_ok(const Memory& m, F f) {
    return f == nullptr || m.executable(reinterpret_cast<const void*>(f));
}

std::string check_element(const Memory& m, ElementHeader* e, GaugeHeader* header) {
    if (e->gauge != header) return "does not point back at its gauge header";
    if (e->failures) {
        const FailureEntry* f = e->failures;
        if (!aligned(f)) return "has a failure list at a misaligned address";
        for (size_t i = 0;; ++i, ++f) {
            if (i >= MAX_FAILURES) return "has a failure list without an end entry";
            if (!m.readable(f, sizeof *f)) return "has a failure list outside the module";
            if (f->key == 0 && f->action == 0 && f->reserved == 0) break;
        }
    }
    switch (e->kind) {
    case KIND_STATIC:
        return "";
    case KIND_NEEDLE: {
        auto* n = reinterpret_cast<NeedleElement*>(e);
        if (n->table_count < 1 || n->table_count > MAX_TABLE_ENTRIES)
            return format("has %u nonlinearity entries", n->table_count);
        if (!m.readable(n->table, sizeof(NonlinearityEntry) * n->table_count))
            return "has its nonlinearity table outside the module";
        if (!aligned(n->table)) return "has its nonlinearity table at a misaligned address";
        if (!callback_ok(m, n->callback)) return "has a callback outside the module";
        return "";
    }
    case KIND_TEXT: {
        auto* t = reinterpret_cast<TextElement*>(e);
        // The host writes the address of the text buffer into the element.
        if (!m.writable(t, sizeof *t)) return "lies in read-only memory";
        if (t->box_width < 0 || t->box_height < 0 || t->box_width > MAX_BOX ||
            t->box_height > MAX_BOX)
            return format("has a text box of %dx%d", t->box_width, t->box_height);
        if (!callback_ok(m, t->callback)) return "has a callback outside the module";
        return "";
    }
    case KIND_SLIDER: {
        auto* s = reinterpret_cast<SliderElement*>(e);
        if (!callback_ok(m, s->callback_x) || !callback_ok(m, s->callback_y))
            return "has a callback outside the module";
        return "";
    }
    case KIND_ICON: {
        auto* i = reinterpret_cast<IconElement*>(e);
        if (i->frame_count < 1 || i->frame_count > MAX_ICON_FRAMES)
            return format("declares %u frames", i->frame_count);
        if (!callback_ok(m, i->callback)) return "has a callback outside the module";
        return "";
    }
    case KIND_MOVING: {
        auto* v = reinterpret_cast<MovingElement*>(e);
        if (!callback_ok(m, v->callback_x) || !callback_ok(m, v->callback_y))
            return "has a callback outside the module";
        return "";
    }
    case KIND_SPRITE: {
        auto* s = reinterpret_cast<SpriteElement*>(e);
        if (!callback_ok(m, s->callback_x) || !callback_ok(m, s->callback_y) ||
            !callback_ok(m, s->callback_rotation))
            return "has a callback outside the module";
        return "";
    }
    }
    return format("has the unknown kind %u", e->kind);
}

// Walks the element tree from the root list, each element before its
// children, refusing loops and anything outside the module.
std::string walk_elements(const Memory& m, GaugeHeader* header, std::vector<ElementHeader*>* out) {
    ElementHeader** root = header->elements;
    if (!m.readable(root, 2 * sizeof(ElementHeader*))) return "element list lies outside the module";
    if (!aligned(root)) return "element list lies at a misaligned address";
    if (!root[0]) return "element list is empty";
    std::set<ElementHeader*> seen;
    // Pending child lists, each with its next position.
    std::vector<std::pair<ElementHeader**, size_t>> stack = {{root, 0}};
    while (!stack.empty()) {
        auto& [list, index] = stack.back();
        if (index >= MAX_CHILDREN) return format("a child list has more than %zu entries", MAX_CHILDREN);
        if (!m.readable(list + index, sizeof(ElementHeader*)))
            return "a child list lies outside the module";
        if (!aligned(list)) return "a child list lies at a misaligned address";
        ElementHeader* e = list[index++];
        if (!e) {
            stack.pop_back();
            continue;
        }
        const size_t number = out->size();
        if (seen.count(e)) return format("element chain loops back at element %zu", number);
        if (number >= MAX_ELEMENTS) return format("more than %zu elements", MAX_ELEMENTS);
        if (!m.readable(e, sizeof(ElementHeader))) return format("element %zu lies outside the module", number);
        if (!aligned(e)) return format("element %zu lies at a misaligned address", number);
        const size_t size = element_size(e->kind);
        if (!size) return format("element %zu has the unknown kind %u", number, e->kind);
        if (!m.readable(e, size)) return format("element %zu lies outside the module", number);
        std::string fault = check_element(m, e, header);
        if (!fault.empty()) return format("element %zu (%s) ", number, kind_name(e->kind)) + fault;
        seen.insert(e);
        out->push_back(e);
        // A copy: the field of a packed record may sit where a reference to
        // a pointer cannot.
        ElementHeader** const children = e->children;
        if (children) stack.push_back({children, 0});
    }
    return "";
}

std::string walk_mouse(const Memory& m, MouseRect* list, std::vector<MouseRect*>* out) {
    if (!list) return "";
    for (size_t i = 0;; ++i) {
        if (i >= MAX_MOUSE_ENTRIES) return format("mouse list has no end entry within %zu entries", MAX_MOUSE_ENTRIES);
        MouseRect* r = list + i;
        if (!m.readable(r, sizeof *r)) return format("mouse entry %zu lies outside the module", i);
        if (!aligned(r)) return format("mouse entry %zu lies at a misaligned address", i);
        if (r->kind == MOUSE_END_LIST) return "";
        if (r->kind > MOUSE_TOOLTIP) return format("mouse entry %zu has the unknown kind %u", i, r->kind);
        if (r->kind == MOUSE_CHILD) {
            if (r->box.width < 0 || r->box.height < 0)
                return format("mouse entry %zu has a negative size", i);
            if (!callback_ok(m, r->callback))
                return format("mouse entry %zu has a callback outside the module", i);
        }
        if (r->kind == MOUSE_TOOLTIP && r->tooltip && !m.string(r->tooltip, 255))
            return format("mouse entry %zu has a tooltip text outside the module", i);
        out->push_back(r);
    }
}

}  // namespace

std::string read_module(void* linkage_symbol, void* imports_symbol, const Memory& m,
                        GaugeLayout* out) {
    *out = GaugeLayout{};
    if (!linkage_symbol) return "exports no Linkage record";
    if (!imports_symbol) return "exports no ImportTable record";
    auto* linkage = static_cast<LinkageRecord*>(linkage_symbol);
    auto* imports = static_cast<ImportTableRecord*>(imports_symbol);
    if (!m.readable(linkage, sizeof *linkage)) return "Linkage lies outside the module";
    if (!m.readable(imports, sizeof *imports)) return "ImportTable lies outside the module";
    if (!aligned(linkage)) return "Linkage lies at a misaligned address";
    if (!aligned(imports)) return "ImportTable lies at a misaligned address";
    // The host writes the address of its function table into ImportTable.
    if (!m.writable(imports, sizeof *imports)) return "ImportTable lies in read-only memory";
    if (linkage->module_id != MODULE_ID)
        return format("Linkage has module id 0x%X, not 0x13", linkage->module_id);
    if (linkage->version != MODULE_VERSION && linkage->version != MODULE_VERSION_2004)
        return format("Linkage has version 0x%X, not 0x800 or 0x900", linkage->version);
    if (!linkage->gauges[0]) return "Linkage lists no gauge";
    if (linkage->gauges[1]) return "Linkage lists more than one gauge";
    if (imports->host.id != IMPORT_HOST_TABLE)
        return format("ImportTable asks for import 0x%X, not the host table 0x0F", imports->host.id);
    if (imports->end.id != 0) return "ImportTable has no end entry";

    GaugeHeader* header = linkage->gauges[0];
    if (!m.readable(header, sizeof *header)) return "gauge header lies outside the module";
    if (!aligned(header)) return "gauge header lies at a misaligned address";
    if (header->version != GAUGE_HEADER_VERSION && header->version != 900)
        return format("gauge header has version %u, not 800", header->version);
    if (!m.string(header->name, MAX_NAME)) return "gauge name is missing or too long";
    if (!header->callback || !m.executable(reinterpret_cast<const void*>(header->callback)))
        return "gauge callback is missing or outside the module";

    std::string fault = walk_elements(m, header, &out->elements);
    if (fault.empty()) fault = walk_mouse(m, header->mouse_rect, &out->mouse);
    if (!fault.empty()) {
        *out = GaugeLayout{};
        return fault;
    }
    out->linkage = linkage;
    out->imports = imports;
    out->header = header;
    return "";
}

}  // namespace kestrel
