// Fuzz target over the loader: each input is the memory image of a module
// (fuzz/loader_image.h) that read_module must either refuse with a one-line
// fault, or accept only when every record the host will use lies whole and
// aligned inside the module, with every callback in its code. The image is
// copied to a buffer of exactly its size, so any read beyond the module is an
// AddressSanitizer report. The image may declare a read-only part: the host
// writes into ImportTable and into text elements, so those must lie outside it.
#include <stdio.h>
#include <stdlib.h>

#include <memory>

#include "fuzz/loader_image.h"
#include "host/elf_symbols.h"
#include "host/loader.h"

using namespace kestrel;
using namespace kestrel::fuzz;

namespace {

constexpr size_t MAX_IMAGE = 64 * 1024;

class Checker {
public:
    Checker(const uint8_t* memory, size_t size, const Memory& m)
        : begin_(reinterpret_cast<uintptr_t>(memory)), end_(begin_ + size), m_(m) {}

    [[noreturn]] void accepted(const std::string& what) const {
        fprintf(stderr, "\nfuzz_loader: the loader accepted a module whose %s\n", what.c_str());
        abort();
    }

    template <class T>
    void record(const T* p, size_t size, const std::string& what) const {
        const uintptr_t a = reinterpret_cast<uintptr_t>(p);
        if (!p || a < begin_ || a > end_ || size > end_ - a) accepted(what + " lies outside it");
        if (a % alignof(T) != 0) accepted(what + " is misaligned");
    }

    void string(const char* s, const std::string& what) const {
        record(s, 1, what);
        if (!memchr(s, '\0', end_ - reinterpret_cast<uintptr_t>(s)))
            accepted(what + " has no end inside it");
    }

    // The host writes into the record.
    void writable(const void* p, size_t size, const std::string& what) const {
        const uintptr_t a = reinterpret_cast<uintptr_t>(p);
        for (const Range& r : m_.readonly)
            if (a < r.end && a + size > r.begin) accepted(what + " lies in read-only memory");
    }

    template <class F>
    void code(F f, const std::string& what) const {
        if (f && !m_.executable(reinterpret_cast<const void*>(f))) accepted(what + " is not in its code");
    }

private:
    uintptr_t begin_;
    uintptr_t end_;
    const Memory& m_;
};

// What the host relies on once a module is accepted.
void check_layout(const GaugeLayout& l, const Checker& c) {
    c.record(l.linkage, sizeof *l.linkage, "Linkage");
    c.record(l.imports, sizeof *l.imports, "ImportTable");
    c.writable(l.imports, sizeof *l.imports, "ImportTable");
    c.record(l.header, sizeof *l.header, "gauge header");
    c.string(l.header->name, "gauge name");
    c.code(l.header->callback, "gauge callback");
    if (!l.header->callback) c.accepted("gauge callback is null");
    if (l.elements.empty()) c.accepted("element list is empty");
    for (size_t i = 0; i < l.elements.size(); ++i) {
        const ElementHeader* e = l.elements[i];
        const std::string what = "element " + std::to_string(i);
        c.record(e, sizeof *e, what);
        const size_t size = element_size(e->kind);
        if (!size) c.accepted(what + " has an unknown kind");
        c.record(e, size, what);
        if (e->gauge != l.header) c.accepted(what + " belongs to another gauge");
        if (e->failures) {
            const FailureEntry* f = e->failures;
            for (;; ++f) {
                c.record(f, sizeof *f, what + "'s failure list");
                if (f->key == 0 && f->action == 0 && f->reserved == 0) break;
            }
        }
        switch (e->kind) {
        case KIND_NEEDLE: {
            auto* n = reinterpret_cast<const NeedleElement*>(e);
            if (n->table_count == 0) c.accepted(what + " has an empty nonlinearity table");
            c.record(n->table, sizeof(NonlinearityEntry) * n->table_count, what + "'s nonlinearity table");
            c.code(n->callback, what + "'s callback");
            break;
        }
        case KIND_TEXT:
            c.writable(e, size, what);
            c.code(reinterpret_cast<const TextElement*>(e)->callback, what + "'s callback");
            break;
        case KIND_SLIDER: {
            auto* s = reinterpret_cast<const SliderElement*>(e);
            c.code(s->callback_x, what + "'s callback");
            c.code(s->callback_y, what + "'s callback");
            break;
        }
        case KIND_ICON: {
            auto* ic = reinterpret_cast<const IconElement*>(e);
            if (ic->frame_count == 0) c.accepted(what + " has no frames");
            c.code(ic->callback, what + "'s callback");
            break;
        }
        case KIND_MOVING: {
            auto* m = reinterpret_cast<const MovingElement*>(e);
            c.code(m->callback_x, what + "'s callback");
            c.code(m->callback_y, what + "'s callback");
            break;
        }
        case KIND_SPRITE: {
            auto* s = reinterpret_cast<const SpriteElement*>(e);
            c.code(s->callback_x, what + "'s callback");
            c.code(s->callback_y, what + "'s callback");
            c.code(s->callback_rotation, what + "'s callback");
            break;
        }
        default: break;
        }
    }
    for (size_t i = 0; i < l.mouse.size(); ++i) {
        const MouseRect* r = l.mouse[i];
        const std::string what = "mouse entry " + std::to_string(i);
        c.record(r, sizeof *r, what);
        if (r->kind == MOUSE_END_LIST || r->kind > MOUSE_TOOLTIP) c.accepted(what + " has a bad kind");
        if (r->kind == MOUSE_CHILD) c.code(r->callback, what + "'s callback");
        if (r->kind == MOUSE_TOOLTIP && r->tooltip) c.string(r->tooltip, what + "'s tooltip");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader of a module file's symbol table (kestrel info) takes the
    // same bytes as a file, whatever they are.
    if (const std::vector<ElfFunction> f = elf_functions(std::string(reinterpret_cast<const char*>(data), size));
        !f.empty())
        function_at(f, f.back().address + f.back().size / 2);
    if (size < sizeof(ImageHeader) || size > MAX_IMAGE) return -1;
    ImageHeader h;
    memcpy(&h, data, sizeof h);
    const size_t n = size - sizeof h;
    std::unique_ptr<uint8_t[]> image(new uint8_t[n ? n : 1]);
    memcpy(image.get(), data + sizeof h, n);
    relocate(image.get(), n);

    const uintptr_t base = reinterpret_cast<uintptr_t>(image.get());
    Memory m;
    m.data.push_back({base, base + n});
    if (h.readonly_from < n) m.readonly.push_back({base + h.readonly_from, base + n});
    size_t code_count;
    const void* const* code = callback_table(&code_count);
    for (size_t i = 0; i < code_count; ++i) {
        const uintptr_t f = reinterpret_cast<uintptr_t>(code[i]);
        m.code.push_back({f, f + 1});
    }
    void* linkage = (h.flags & IMAGE_NO_LINKAGE) ? nullptr : reinterpret_cast<void*>(base + h.linkage);
    void* imports = (h.flags & IMAGE_NO_IMPORTS) ? nullptr : reinterpret_cast<void*>(base + h.imports);

    GaugeLayout layout;
    const std::string fault = read_module(linkage, imports, m, &layout);
    static const bool verbose = getenv("KESTREL_FUZZ_VERBOSE") != nullptr;
    if (verbose)
        fprintf(stderr, "fuzz_loader: %s\n",
                fault.empty() ? ("accepted, " + std::to_string(layout.elements.size()) + " elements").c_str()
                              : ("refused: " + fault).c_str());
    if (!fault.empty()) {
        if (fault.find('\n') != std::string::npos) {
            fprintf(stderr, "\nfuzz_loader: a fault of more than one line: %s\n", fault.c_str());
            abort();
        }
        if (layout.header || !layout.elements.empty() || !layout.mouse.empty()) {
            fprintf(stderr, "\nfuzz_loader: a refused module left a layout behind (%s)\n", fault.c_str());
            abort();
        }
        return 0;
    }
    check_layout(layout, Checker(image.get(), n, m));
    return 0;
}
