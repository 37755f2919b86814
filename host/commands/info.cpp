#include "host/commands/commands.h"

#include <map>

#include "host/elf_symbols.h"
#include "host/files.h"
#include "host/util.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cxxabi.h>
#include <dlfcn.h>
#include <stdlib.h>
#endif

namespace kestrel {

namespace {

const char* entry_kind(uint32_t kind) {
    switch (kind) {
    case MOUSE_START: return "start";
    case MOUSE_CHILD: return "area";
    case MOUSE_END_AREA: return "end";
    case MOUSE_TOOLTIP: return "tooltip";
    default: return "entry";
    }
}

#if !defined(_WIN32)
// "(anonymous namespace)::flaps_up(MouseArgs*, unsigned int)" -> "flaps_up".
std::string readable(const std::string& symbol) {
    int status = 0;
    char* text = abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status);
    if (status != 0 || !text) return symbol;
    std::string name = text;
    free(text);
    if (const size_t open = name.find('('); open != std::string::npos && open > 0) name.resize(open);
    const std::string anonymous = "(anonymous namespace)::";
    if (name.compare(0, anonymous.size(), anonymous) == 0) name.erase(0, anonymous.size());
    return name;
}
#endif

// The name of a module's function at `address`: from the file's symbol
// table where the platform has one, else "+0xOFFSET" from the module's base.
std::string code_name(const Gauge& gauge, const void* address) {
#if defined(_WIN32)
    MEMORY_BASIC_INFORMATION m{};
    if (VirtualQuery(address, &m, sizeof m) == 0 || !m.AllocationBase) return "?";
    return format("+0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address) -
                                                               reinterpret_cast<uintptr_t>(m.AllocationBase)));
#else
    Dl_info where{};
    if (!dladdr(address, &where) || !where.dli_fbase) return "?";
    const uint64_t offset = reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(where.dli_fbase);
    // Each module file is read once.
    static std::map<std::string, std::vector<ElfFunction>> files;
    auto it = files.find(gauge.path);
    if (it == files.end()) {
        std::string bytes;
        read_whole_file(gauge.path, &bytes);
        it = files.emplace(gauge.path, elf_functions(bytes)).first;
    }
    const std::string name = function_at(it->second, offset);
    return name.empty() ? format("+0x%llx", static_cast<unsigned long long>(offset)) : readable(name);
#endif
}

// A callback's name, or "-" when the module gave none.
template <typename F>
std::string callback_name(const Gauge& g, F f) {
    return f ? code_name(g, reinterpret_cast<const void*>(f)) : "-";
}

// Every field of an element that the module fills in, one line.
void element_fields(const Gauge& g, const ElementHeader* e, FILE* out) {
    const auto var = [](const ModuleVar& v) { return hex(v.id); };
    fprintf(out, "      offset (%d, %d) image %s special %s", e->offset.x, e->offset.y, hex(e->image_flags).c_str(),
            hex(e->special_flags).c_str());
    size_t failures = 0;
    for (const FailureEntry* f = e->failures; f && f->key; ++f) ++failures;
    if (failures) fprintf(out, " failures %zu", failures);
    fputc('\n', out);
    switch (e->kind) {
    case KIND_NEEDLE: {
        const auto* n = reinterpret_cast<const NeedleElement*>(e);
        fprintf(out, "      source %s %s callback %s max %d/tick table", var(n->source).c_str(),
                callback_name(g, n->source_callback).c_str(), callback_name(g, n->callback).c_str(),
                n->max_degrees_per_tick);
        for (uint32_t i = 0; n->table && i < n->table_count; ++i)
            fprintf(out, " (%d, %d)=%g", n->table[i].point.x, n->table[i].point.y, n->table[i].value);
        break;
    }
    case KIND_TEXT: {
        const auto* t = reinterpret_cast<const TextElement*>(e);
        fprintf(out, "      sources");
        for (int i = 0; i < 3; ++i)
            fprintf(out, " %s %s", var(t->source[i]).c_str(), callback_name(g, t->source_callbacks[i]).c_str());
        fprintf(out, " callback %s\n", callback_name(g, t->callback).c_str());
        fprintf(out, "      box %dx%d font \"%.32s\" weight %d charset %u colors %s on %s highlight %s flags %s"
                     " capacity %u height %d",
                t->box_width, t->box_height, t->font, t->font_weight, t->charset, hex(t->text_color).c_str(),
                hex(t->background_color).c_str(), hex(t->highlight_color).c_str(), hex(t->draw_flags).c_str(),
                t->capacity, t->char_height);
        break;
    }
    case KIND_SLIDER: {
        const auto* s = reinterpret_cast<const SliderElement*>(e);
        fprintf(out, "      x %s %s scale %g callback %s, y %s %s scale %g callback %s", var(s->source_x).c_str(),
                callback_name(g, s->source_callback_x).c_str(), s->scale_x, callback_name(g, s->callback_x).c_str(),
                var(s->source_y).c_str(), callback_name(g, s->source_callback_y).c_str(), s->scale_y,
                callback_name(g, s->callback_y).c_str());
        break;
    }
    case KIND_ICON: {
        const auto* i = reinterpret_cast<const IconElement*>(e);
        fprintf(out, "      source %s %s callback %s mode %u scale %g frames %u from %d", var(i->source).c_str(),
                callback_name(g, i->source_callback).c_str(), callback_name(g, i->callback).c_str(), i->mode,
                i->scale, i->frame_count, i->frame_offset);
        break;
    }
    case KIND_MOVING: {
        const auto* m = reinterpret_cast<const MovingElement*>(e);
        fprintf(out, "      x %s %s range %g..%g callback %s, y %s %s range %g..%g callback %s",
                var(m->source_x).c_str(), callback_name(g, m->source_callback_x).c_str(), m->range_x[0],
                m->range_x[1], callback_name(g, m->callback_x).c_str(), var(m->source_y).c_str(),
                callback_name(g, m->source_callback_y).c_str(), m->range_y[0], m->range_y[1],
                callback_name(g, m->callback_y).c_str());
        break;
    }
    case KIND_SPRITE: {
        const auto* s = reinterpret_cast<const SpriteElement*>(e);
        fprintf(out, "      x %s %s scale %g, y %s %s scale %g, turn %s %s scale %g, texture %gx%g",
                var(s->source_x).c_str(), callback_name(g, s->source_callback_x).c_str(), s->scale_x,
                var(s->source_y).c_str(), callback_name(g, s->source_callback_y).c_str(), s->scale_y,
                var(s->source_rotation).c_str(), callback_name(g, s->source_callback_rotation).c_str(),
                s->scale_rotation, double(s->texture_scale_x), double(s->texture_scale_y));
        break;
    }
    default: return;  // a static picture has no more
    }
    fputc('\n', out);
}

// What an element shows after the first frame: a text's characters (bytes
// outside printable ASCII as \xNN), else its values.
void first_frame(const ElementState& state, uint32_t kind, FILE* out) {
    if (kind == KIND_STATIC) return;
    fprintf(out, "      first frame flags %s ", hex(state.flags).c_str());
    if (kind != KIND_TEXT) {
        fprintf(out, "values %g %g %g\n", state.value[0], state.value[1], state.value[2]);
        return;
    }
    fputc('"', out);
    for (unsigned char c : state.text)
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            fputc(c, out);
        else
            fprintf(out, "\\x%02X", c);
    fputs("\"\n", out);
}

}  // namespace


int info_command(Host& host, const std::vector<std::string>& modules, bool records, FILE* out) {
    std::string error;
    const bool ok = host.load(modules, &error);
    if (!ok) fprintf(stderr, "%s\n", error.c_str());
    if (records) host.frame();  // what each element shows once the gauges have run
    for (const auto& g : host.gauges()) {
        const GaugeHeader* h = g->layout.header;
        fprintf(out, "%s: gauge \"%s\", %zu elements, %zu mouse entries\n", g->name.c_str(), h->name, g->size(),
                g->layout.mouse.size());
        if (records)
            fprintf(out, "  header version %u size %ux%u mm flags %s callback %s; module version %s priority %u\n",
                    h->version, h->size_x_mm, h->size_y_mm, hex(h->flags).c_str(),
                    callback_name(*g, h->callback).c_str(), hex(g->layout.linkage->version).c_str(),
                    g->layout.linkage->priority);
        for (size_t i = 0; i < g->size(); ++i) {
            const ElementHeader* e = g->element(i);
            fprintf(out, "  [%zu] %-6s resource %s at (%d, %d)\n", i, kind_name(e->kind), hex(e->resource_id).c_str(),
                    e->position.x, e->position.y);
            if (records) {
                element_fields(*g, e, out);
                first_frame(g->state.at(i), e->kind, out);
            }
        }
        // Every entry as the host counts them: the box is (x, y, width,
        // height) in the gauge's background pixels, as "click" takes them.
        for (size_t i = 0; i < g->layout.mouse.size(); ++i) {
            const MouseRect* r = g->layout.mouse[i];
            fprintf(out, "  mouse %zu %-7s (%d, %d, %d, %d) cursor %d flags %s", i, entry_kind(r->kind), r->box.x,
                    r->box.y, r->box.width, r->box.height, r->cursor, hex(r->flags).c_str());
            if (r->kind == MOUSE_TOOLTIP)
                fprintf(out, " \"%s\"", r->tooltip ? r->tooltip : "");
            else if (r->callback)
                fprintf(out, " %s", code_name(*g, reinterpret_cast<const void*>(r->callback)).c_str());
            if (r->event_id) fprintf(out, " event %s", hex(r->event_id).c_str());
            fputc('\n', out);
        }
    }
    return ok ? 0 : 2;  // a module the loader refused: unsuitable input
}

}  // namespace kestrel
