// kestrel_fuzz_corpus: writes the starting corpus of the fuzz targets.
//
//   kestrel_fuzz_corpus sessions DIR SCENARIO...   sessions for fuzz_modules:
//       each scenario file as a session (DIR/<scenario name>), and a few
//       sessions over every module of the Gauges folder, whatever it holds
//   kestrel_fuzz_corpus images DIR                 module images for fuzz_loader
//   kestrel_fuzz_corpus panels DIR PANEL.cfg...    panel files and bitmaps for fuzz_panel
//
// A scenario becomes the same session: its loads, variables, shared values,
// frames, clicks, holds, drags, service calls and sound-library switches; a
// ramp becomes a few steps, and a long run of frames a few frames and a jump
// of the tick counter. Expectations, "show" and "library-calls" are left
// out (the fuzz target checks for faults), and so is any line this tool does
// not understand, with a note: a starting corpus need not be complete.
#include <errno.h>
#include <stdio.h>
#include <stddef.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/corpus.h"
#include "fuzz/loader_image.h"
#include "fuzz/session.h"
#include "host/panel/bitmap.h"
#include "host/util.h"

using namespace kestrel;
using namespace kestrel::fuzz;

namespace {

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "kestrel_fuzz_corpus: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// ---------------------------------------------------------------------------
// Sessions over every module

// Gauge references spread over the hash space reach every loaded gauge.
uint16_t spread(unsigned i) { return static_cast<uint16_t>(i * 0x1111u); }

void load_all(Writer& w, bool owners_last = false) {
    w.op(OP_LOAD_ALL);
    w.u8(static_cast<uint8_t>(STEPS_ALL + (owners_last ? 3 : 0)));
}

void click_everywhere(Writer& w) {
    for (unsigned g = 0; g < 16; ++g)
        for (uint8_t area = 0; area < 4; ++area) {
            w.op(OP_CLICK);
            w.u16(spread(g));
            w.area_point(static_cast<uint8_t>(area + g * 4), static_cast<uint8_t>(3 * g), static_cast<uint8_t>(5 * g));
        }
}

void draw(Writer& w, uint8_t lighting) {
    w.op(OP_DRAW);
    w.u8(lighting);
}

void power(Writer& w, int32_t value) {
    w.op(OP_SHARED);
    w.u8(7);  // "power"
    w.u8(SHARED_RAW);
    w.i32(value);
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> panel_sessions() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    {  // every variable a gauge reads, through every hostile value, powered
        Writer w;
        load_all(w);
        frames(w, 1);
        power(w, 1);
        for (unsigned i = 0; i < 48; ++i) {
            w.op(OP_SET);
            w.u8(static_cast<uint8_t>(i));
            w.u8(VALUE_SPECIAL);
            w.u8(static_cast<uint8_t>(i));
            w.op(OP_SET);
            w.u8(static_cast<uint8_t>(i + 1));
            w.u8(VALUE_BCD);
            w.u32(0xFFFFFFFFu - i * 0x11111111u);
            frames(w, 1);
            if (i % 8 == 7) draw(w, static_cast<uint8_t>(i / 8));
        }
        out.push_back({"every-module-hostile-values", w.bytes()});
    }
    {  // every clickable area, held and dragged, with the panel powered
        Writer w;
        load_all(w);
        frames(w, 1);
        power(w, 1);
        click_everywhere(w);
        frames(w, 2);
        for (unsigned g = 0; g < 8; ++g) {
            w.op(OP_HOLD);
            w.u16(spread(g * 2));
            w.area_point(static_cast<uint8_t>(g), 2, 2);
            w.u8(20);
            w.op(OP_DRAG);
            w.u16(spread(g * 2 + 1));
            w.area_point(static_cast<uint8_t>(g), 0, 0);
            w.area_point(static_cast<uint8_t>(g), 200, 200);
            w.u8(10);
        }
        out.push_back({"every-module-mouse", w.bytes()});
    }
    {  // readers first, then the owners go and come back
        Writer w;
        load_all(w, true);
        frames(w, 2);
        w.op(OP_UNLOAD);
        w.gauge("broadcaster");
        frames(w, 1);
        click_everywhere(w);
        frames(w, 1);
        w.op(OP_LOAD);
        w.u8(0);
        w.u8(STEPS_ALL);
        w.gauge("broadcaster");
        power(w, 1);
        frames(w, 3);
        out.push_back({"every-module-owners-leave", w.bytes()});
    }
    {  // every service id, including unknown ones, in a scrambled order
        Writer w;
        load_all(w);
        const uint32_t ids[] = {10, 6, 2, 12, 4, 17, 16, 0, 1, 3, 5, 7, 8, 9, 11, 13, 14, 15, 18, 255, 0xFFFFFFFFu, 12, 6, 10};
        for (unsigned g = 0; g < 4; ++g)
            for (uint32_t id : ids) {
                w.op(OP_SERVICE);
                w.u16(spread(g * 4));
                w.u32(id);
            }
        frames(w, 2);
        click_everywhere(w);
        out.push_back({"every-module-services", w.bytes()});
    }
    {  // the tick counter forwards, backwards, by large jumps, at odd rates
        Writer w;
        load_all(w);
        power(w, 1);
        click_everywhere(w);
        const uint8_t hows[] = {TICKS_FORWARD, TICKS_BACK, TICKS_JUMP_FORWARD, TICKS_JUMP_BACK};
        for (uint8_t how : hows) {
            w.op(OP_TICKS);
            w.u8(how);
            if (how < TICKS_JUMP_FORWARD)
                w.u8(200);
            else
                w.u32(0x7FFFFFFF);
            frames(w, 3);
        }
        for (uint8_t v : {0, 2, 3, 5, 16}) {
            w.op(OP_TICKS);
            w.u8(TICKS_SET);
            w.u8(VALUE_SPECIAL);
            w.u8(v);
            frames(w, 2);
        }
        w.op(OP_FPS);
        w.u8(1);
        frames(w, 20);
        out.push_back({"every-module-ticks", w.bytes()});
    }
    {  // the simulator's models running over hostile values, ticks and clicks
        Writer w;
        load_all(w);
        w.op(OP_MODEL);
        w.u8(MODEL_ALL_ON);
        w.u16(0);
        power(w, 1);
        click_everywhere(w);
        frames(w, 4);
        for (unsigned i = 0; i < 48; ++i) {
            w.op(OP_SET);
            w.u8(static_cast<uint8_t>(i));
            w.u8(VALUE_SPECIAL);
            w.u8(static_cast<uint8_t>(i * 7));
            frames(w, 2);
        }
        for (uint8_t how : {TICKS_JUMP_FORWARD, TICKS_JUMP_BACK}) {
            w.op(OP_TICKS);
            w.u8(how);
            w.u32(0x7FFFFFFF);
            frames(w, 3);
        }
        out.push_back({"every-module-models", w.bytes()});
    }
    {  // without the sound library, then with it, then without it again
        Writer w;
        w.op(OP_SOUND_LIBRARY);
        w.u8(0);
        load_all(w);
        power(w, 1);
        click_everywhere(w);
        w.op(OP_SOUND_LIBRARY);
        w.u8(1);
        frames(w, 2);
        click_everywhere(w);
        w.op(OP_SOUND_LIBRARY);
        w.u8(0);
        click_everywhere(w);
        out.push_back({"every-module-sound-library", w.bytes()});
    }
    {  // shared variables at odd values
        Writer w;
        load_all(w);
        frames(w, 1);
        for (uint8_t name = 0; name < SHARED_NAME_COUNT; ++name)
            for (uint8_t v = 0; v < 11; ++v) {
                w.op(OP_SHARED);
                w.u8(name);
                w.u8(SHARED_SPECIAL);
                w.u8(v);
                frames(w, 1);
            }
        click_everywhere(w);
        out.push_back({"every-module-shared-values", w.bytes()});
    }
    {  // drawn powered and unpowered, by day, dusk and night, at odd values
        Writer w;
        load_all(w);
        frames(w, 1);
        for (uint8_t light = 0; light < 3; ++light) {
            draw(w, light);
            power(w, 1);
            frames(w, 1);
            draw(w, light);
            for (unsigned i = 0; i < 16; ++i) {
                w.op(OP_SET);
                w.u8(static_cast<uint8_t>(i));
                w.u8(VALUE_SPECIAL);
                w.u8(static_cast<uint8_t>(i * 3 + light));
            }
            frames(w, 1);
            draw(w, light);
        }
        out.push_back({"every-module-drawn", w.bytes()});
    }
    return out;
}

// Sessions that once brought a fault to light, written out so that they keep
// their meaning. The probe gauge plays a sound from its first area.
std::vector<std::pair<std::string, std::vector<uint8_t>>> regression_sessions() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    auto click_power_switch = [](Writer& w) {
        w.op(OP_CLICK);
        w.gauge("probe");
        w.area_point(0, 5, 5);
    };
    {  // GaugePlaySound called through a pointer of another type
        Writer w;
        w.op(OP_LOAD);
        w.u8(0);
        w.u8(STEPS_ALL);
        w.gauge("probe");
        frames(w, 1);
        click_power_switch(w);
        out.push_back({"regression-sound-library-call-type", w.bytes()});
    }
    {  // updated before initialized: the probe found the library loaded and
       // took no reference; the broadcaster's kill unloaded it under the probe
        Writer w;
        w.op(OP_LOAD);
        w.u8(1);
        w.u8(1);  // install only
        w.gauge("broadcaster");
        w.gauge("probe");
        frames(w, 1);
        w.op(OP_UNLOAD);
        w.gauge("broadcaster");
        click_power_switch(w);
        out.push_back({"regression-sound-library-released-under-a-gauge", w.bytes()});
    }
    {  // a second kill released the probe's reference
        Writer w;
        w.op(OP_LOAD);
        w.u8(1);
        w.u8(STEPS_ALL);
        w.gauge("broadcaster");
        w.gauge("probe");
        frames(w, 1);
        for (int i = 0; i < 2; ++i) {
            w.op(OP_SERVICE);
            w.gauge("broadcaster");
            w.u32(SERVICE_PRE_KILL);
        }
        click_power_switch(w);
        out.push_back({"regression-sound-library-killed-twice", w.bytes()});
    }
    return out;
}

// ---------------------------------------------------------------------------
// Module images

// A module with one element of each kind, failure lists, a tooltip and child
// areas. The records the host never writes come last, so that an image can
// place them in read-only memory.
struct Template {
    LinkageRecord linkage;
    ImportTableRecord imports;
    GaugeHeader header;
    ElementHeader* root[2];
    StaticElement background;
    ElementHeader* background_children[5];
    NeedleElement needle;
    TextElement text;
    SliderElement slider;
    IconElement icon;
    ElementHeader* icon_children[3];
    MovingElement moving;
    SpriteElement sprite;
    MouseRect mouse[7];
    // constant data
    FailureEntry failures[2];
    NonlinearityEntry table[3];
    char name[8];
    char tooltip[16];
};

template <class E>
void element(E& e, uint32_t kind, GaugeHeader* header) {
    e.header.kind = kind;
    e.header.gauge = header;
    e.header.image_flags = 0x83;
}

std::unique_ptr<Template> full_template() {
    auto t = std::make_unique<Template>();
    memset(static_cast<void*>(t.get()), 0, sizeof *t);
    t->linkage.module_id = MODULE_ID;
    t->linkage.version = MODULE_VERSION;
    t->linkage.gauges[0] = &t->header;
    t->imports.host.id = IMPORT_HOST_TABLE;
    strcpy(t->name, "KESTREL");
    strcpy(t->tooltip, "SWITCH PANEL");
    t->header.version = GAUGE_HEADER_VERSION;
    t->header.name = t->name;
    t->header.elements = t->root;
    t->header.mouse_rect = t->mouse;
    t->header.callback = callbacks::gauge;
    GaugeHeader* h = &t->header;
    t->root[0] = &t->background.header;
    element(t->background, KIND_STATIC, h);
    t->background.header.failures = t->failures;
    t->background.header.children = t->background_children;
    t->background_children[0] = &t->needle.header;
    t->background_children[1] = &t->text.header;
    t->background_children[2] = &t->slider.header;
    t->background_children[3] = &t->icon.header;
    element(t->needle, KIND_NEEDLE, h);
    t->needle.source.id = 0x148;
    t->needle.table = t->table;
    t->needle.table_count = 3;
    t->needle.callback = callbacks::needle;
    t->table[0] = {{10, 0}, 0, 0};
    t->table[1] = {{20, 10}, 50, 0};
    t->table[2] = {{10, 20}, 100, 0};
    element(t->text, KIND_TEXT, h);
    t->text.box_width = 40;
    t->text.box_height = 12;
    t->text.capacity = 0x4240;
    t->text.callback = callbacks::text;
    element(t->slider, KIND_SLIDER, h);
    t->slider.callback_x = callbacks::slider;
    t->slider.callback_y = callbacks::slider;
    element(t->icon, KIND_ICON, h);
    t->icon.frame_count = 6;
    t->icon.mode = 3;
    t->icon.callback = callbacks::icon;
    t->icon.header.failures = t->failures;
    t->icon.header.children = t->icon_children;
    t->icon_children[0] = &t->moving.header;
    t->icon_children[1] = &t->sprite.header;
    element(t->moving, KIND_MOVING, h);
    t->moving.range_y[1] = 100;
    t->moving.callback_y = callbacks::moving;
    element(t->sprite, KIND_SPRITE, h);
    t->sprite.callback_x = callbacks::sprite;
    t->sprite.callback_y = callbacks::sprite;
    t->sprite.callback_rotation = callbacks::sprite;
    t->mouse[0].kind = MOUSE_START;
    t->mouse[1].kind = MOUSE_TOOLTIP;
    t->mouse[1].tooltip = t->tooltip;
    t->mouse[2].kind = MOUSE_CHILD;
    t->mouse[2].box = {0, 0, 40, 50};
    t->mouse[2].flags = MOUSE_LEFT_SINGLE;
    t->mouse[2].callback = callbacks::mouse;
    t->mouse[3].kind = MOUSE_CHILD;
    t->mouse[3].box = {0, 60, 40, 50};
    t->mouse[3].flags = MOUSE_LEFT_REPEAT | MOUSE_LEFT_DRAG;
    t->mouse[3].callback = callbacks::mouse;
    t->mouse[4].kind = MOUSE_END_AREA;
    t->mouse[5].kind = MOUSE_END_LIST;
    for (MouseRect& r : t->mouse) r.cursor = r.kind == MOUSE_CHILD ? CURSOR_HAND : CURSOR_NONE;
    return t;
}

std::vector<uint8_t> image_of(Template& t, uint32_t readonly_from = sizeof(Template)) {
    ImageHeader h{static_cast<uint32_t>(offsetof(Template, linkage)),
                  static_cast<uint32_t>(offsetof(Template, imports)), readonly_from, 0};
    std::vector<uint8_t> memory(sizeof t);
    tag_pointers(reinterpret_cast<uint8_t*>(&t), sizeof t);
    memcpy(memory.data(), &t, sizeof t);
    std::vector<uint8_t> out(sizeof h);
    memcpy(out.data(), &h, sizeof h);
    out.insert(out.end(), memory.begin(), memory.end());
    return out;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> module_images() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    out.push_back({"every-kind", image_of(*full_template())});
    out.push_back({"constant-data-read-only", image_of(*full_template(), offsetof(Template, failures))});
    // The host writes into ImportTable and text elements: refused when read-only.
    out.push_back({"read-only-import-table", image_of(*full_template(), offsetof(Template, imports))});
    out.push_back({"read-only-text", image_of(*full_template(), offsetof(Template, text))});
    {
        auto t = full_template();
        t->linkage.version = MODULE_VERSION_2004;
        t->header.version = 900;
        out.push_back({"version-900", image_of(*t)});
    }
    {  // the broadcaster's shape: one static image, no clickable area
        auto t = full_template();
        t->background.header.children = nullptr;
        t->background.header.failures = nullptr;
        t->mouse[1].kind = MOUSE_END_AREA;
        t->mouse[2].kind = MOUSE_END_LIST;
        out.push_back({"one-image", image_of(*t)});
    }
    {
        auto t = full_template();
        t->header.mouse_rect = nullptr;
        out.push_back({"no-mouse-list", image_of(*t)});
    }
    return out;
}

// ---------------------------------------------------------------------------
// Panel files and bitmaps

// Background bitmaps of each kind the reader takes: 24 bits, 32 bits top-down,
// 8 bits with a palette.
std::vector<std::pair<std::string, std::vector<uint8_t>>> panel_bitmaps() {
    Pixels px;
    px.width = 5;
    px.height = 3;
    for (int i = 0; i < 15; ++i) px.argb.push_back(i % 4 ? 0xFF000000u | (0x102030u * i) : 0);
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    const std::vector<uint8_t> plain = encode_bmp(px);
    out.push_back({"bitmap-24", plain});
    std::vector<uint8_t> b(plain.begin(), plain.begin() + 54);
    b[28] = 32;
    for (int k = 22; k < 26; ++k) b[k] = k == 22 ? 0xFD : 0xFF;  // height -3: top-down
    for (uint32_t p : px.argb)
        for (int k = 0; k < 4; ++k) b.push_back(uint8_t(p >> (8 * k)));
    out.push_back({"bitmap-32-top-down", b});
    b.assign(plain.begin(), plain.begin() + 54);
    b[28] = 8;
    b[10] = 54 + 4 * 4;  // four palette entries, then the pixels
    b[46] = 4;
    for (uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu})
        for (int k = 0; k < 4; ++k) b.push_back(uint8_t(c >> (8 * k)));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x) b.push_back(uint8_t(x < 5 ? (x + y) % 5 : 0));  // 5 indexes, padded to 8
    out.push_back({"bitmap-8", b});
    return out;
}

bool read_file(const std::string& path, std::vector<uint8_t>* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        fprintf(stderr, "kestrel_fuzz_corpus: cannot read %s\n", path.c_str());
        return false;
    }
    uint8_t chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) out->insert(out->end(), chunk, chunk + n);
    fclose(f);
    return true;
}

bool make_dir(const std::string& dir) {
    if (mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST) return true;
    fprintf(stderr, "kestrel_fuzz_corpus: cannot create %s\n", dir.c_str());
    return false;
}

std::string base_name(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 ||
        (std::string(argv[1]) != "sessions" && std::string(argv[1]) != "images" && std::string(argv[1]) != "panels")) {
        fputs("usage: kestrel_fuzz_corpus sessions DIR SCENARIO...\n"
              "       kestrel_fuzz_corpus images DIR\n"
              "       kestrel_fuzz_corpus panels DIR PANEL.cfg...\n",
              stderr);
        return 2;
    }
    const std::string what = argv[1], dir = argv[2];
    if (!make_dir(dir)) return 1;
    bool ok = true;
    size_t written = 0;
    auto put = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        ok = write_file(dir + "/" + name, bytes) && ok;
        ++written;
    };
    if (what == "images") {
        for (const auto& [name, bytes] : module_images()) put(name, bytes);
    } else if (what == "panels") {
        for (int i = 3; i < argc; ++i) {
            std::vector<uint8_t> bytes;
            if (read_file(argv[i], &bytes)) put("panel-" + base_name(argv[i]), bytes);
            else ok = false;
        }
        for (const auto& [name, bytes] : panel_bitmaps()) put(name, bytes);
    } else {
        for (int i = 3; i < argc; ++i) {
            std::vector<uint8_t> bytes;
            if (scenario_session(argv[i], &bytes))
                put("scenario-" + base_name(argv[i]), bytes);
            else
                ok = false;
        }
        for (const auto& [name, bytes] : panel_sessions()) put(name, bytes);
        for (const auto& [name, bytes] : regression_sessions()) put(name, bytes);
    }
    fprintf(stderr, "kestrel_fuzz_corpus: %zu %s in %s\n", written, what.c_str(), dir.c_str());
    return ok ? 0 : 1;
}
