#include "host/commands/info.h"

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

}  // namespace

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

int info_command(Host& host, const std::vector<std::string>& modules, FILE* out) {
    std::string error;
    const bool ok = host.load(modules, &error);
    if (!ok) fprintf(stderr, "%s\n", error.c_str());
    for (const auto& g : host.gauges()) {
        const GaugeHeader* h = g->layout.header;
        fprintf(out, "%s: gauge \"%s\", %zu elements, %zu mouse entries\n", g->name.c_str(), h->name, g->size(),
                g->layout.mouse.size());
        for (size_t i = 0; i < g->size(); ++i) {
            const ElementHeader* e = g->element(i);
            fprintf(out, "  [%zu] %-6s resource %s at (%d, %d)\n", i, kind_name(e->kind), hex(e->resource_id).c_str(),
                    e->position.x, e->position.y);
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
