// Fuzz target over what the host reads from a panel's folder: each input is
// read as a panel configuration, checked as `kestrel check` checks it, and
// decoded as a background bitmap. Nothing may crash or read out of bounds,
// and what the reader hands on must be what the renderer and the loader rely
// on: windows in order, module names that are plain file names, places and
// sizes in range, picture names that are safe. The input is also opened for
// editing: it must give back its own bytes, take a few edits chosen by its
// first bytes, read back within range after each, and undo to its bytes.
#include <stdio.h>
#include <stdlib.h>

#include <set>
#include <string>
#include <vector>

#include "host/panel/bitmap.h"
#include "host/panel/document.h"
#include "host/panel/panel_check.h"
#include "host/panel/panel_config.h"

using namespace kestrel;

namespace {

[[noreturn]] void wrong(const std::string& what) {
    fprintf(stderr, "\nfuzz_panel: %s\n", what.c_str());
    abort();
}

bool in(int v, int lo, int hi) { return v >= lo && v <= hi; }

void check_config(const PanelConfig& c, size_t size) {
    // Windows come in number order, below Window64; one that [Window Titles]
    // names without a section of its own is empty and left out.
    int last_window = -1;
    for (const PanelWindow& w : c.windows) {
        if (w.kind == PanelWindow::Kind::Window) {
            if (w.index <= last_window || w.index >= MAX_WINDOWS) wrong("a window out of order or beyond Window63");
            last_window = w.index;
        }
        if (!in(w.width, 0, MAX_PANEL_SIDE) || !in(w.height, 0, MAX_PANEL_SIDE) ||
            !in(w.pixel_width, 0, MAX_PANEL_SIDE) || !in(w.pixel_height, 0, MAX_PANEL_SIDE))
            wrong("a window size out of range");
        if (w.background > 0xFFFFFF) wrong("a background colour out of range");
        const std::string name = safe_file_name(w.title);
        if (name.empty() || name.size() > 60 || name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQ"
                                                                        "RSTUVWXYZ0123456789-_") != std::string::npos)
            wrong("an unsafe picture name: " + name);
        for (const PanelGauge& g : w.gauges) {
            if (!plain_file_name(g.module)) wrong("a module name with a way out: " + g.module);
            if (!in(g.x, -MAX_PANEL_SIDE, MAX_PANEL_SIDE) || !in(g.y, -MAX_PANEL_SIDE, MAX_PANEL_SIDE) ||
                !in(g.width, 0, MAX_PANEL_SIDE) || !in(g.height, 0, MAX_PANEL_SIDE))
                wrong("a gauge place out of range");
        }
    }
    for (const PanelProblem& p : c.problems)
        if (p.line < 0 || size_t(p.line) > size + 1) wrong("a problem at a line that is not there");
}

// A few edits picked by the input's first bytes; every one is undone after.
void edit(const std::string& text) {
    PanelDocument doc;
    doc.open(text, "fuzz.cfg");
    if (doc.text() != text) wrong("the document does not give back the bytes it read");
    int done = 0;
    for (size_t i = 0; i < 4 && i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const std::string n = std::to_string(b % 4), v = std::to_string(int(b) * 37 % 600 - 100);
        const std::vector<std::vector<std::string>> edits = {
            {"place", "0", n, v, "20"},         {"place", "0", n, "5", v, "30", "40"},
            {"add", n, "m!G", "1", v},          {"remove", "0", n},
            {"window", n, "size_mm", "300"},    {"window", n, "title", "T", v},
            {"window", "0", "background_color", "1", n, "3"}, {"window", n, "file", "a.bmp"}};
        if (doc.apply(edits[b % edits.size()]).empty()) ++done;
        check_config(doc.panel(), doc.text().size());
    }
    while (done-- > 0)
        if (!doc.apply({"undo"}).empty()) wrong("an edit that cannot be undone");
    if (doc.text() != text) wrong("undoing every edit does not give back the bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PanelConfig c = parse_panel_config(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cfg");
    check_config(c, size);
    // Every third module has a size, so that places and overlaps are looked at.
    check_panel(c, "/nonexistent-kestrel-gauges", [](const std::string& module, int* w, int* h) {
        if (module.size() % 3) return false;
        *w = int(module.size()) * 7 + 1;
        *h = int(module.size()) * 5 + 1;
        return true;
    });
    edit(std::string(reinterpret_cast<const char*>(data), size));
    Pixels px;
    if (decode_bmp(data, size, &px).empty() &&
        (px.width <= 0 || px.height <= 0 || px.argb.size() != size_t(px.width) * size_t(px.height)))
        wrong("a bitmap accepted with pixels that do not match its size");
    return 0;
}
