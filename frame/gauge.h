// What a gauge module is made of: the builders for its static records, the
// table of what the gauge adds to the common gauge callback, and the helpers
// its callbacks share (host calls, shared variables, the power rule, bounded
// text, sounds).
//
// A gauge source defines, in this order: its variables and state, its element
// chain, its mouse list, its callbacks, `gauge_header` and `gauge_ops`. The
// frame (frame.cpp) supplies Linkage, ImportTable and the gauge callback.
#pragma once

#include <span>

#include "frame/records.h"
#include "frame/variables.h"
#include "frame/winapi.h"

// ---------------------------------------------------------------------------
// Defined by the gauge source.

extern GaugeHeader gauge_header;

// What a gauge adds to the common gauge callback. Every hook may be null.
struct SharedBinding {
    ModuleVar* record;
    const char* name;
};

struct GaugeOps {
    // Shared variables bound on pre-initialize and cleared at the first draw,
    // in this order.
    std::span<const SharedBinding> shared;
    // Simulator-variable records refreshed with lookup_var on pre-update, in
    // this order.
    std::span<ModuleVar* const> sim_vars;
    void (*install)();     // pre-install (owners register their variables)
    void (*update)();      // pre-update, after the lookups
    void (*first_draw)();  // first pre-draw, after the shared variables were cleared
    void (*kill)();        // pre-kill, after the sound library was released
    bool without_sound_library;  // never load GaugeSound; ignore pre-update and pre-kill
    bool first_draw_before_clearing;  // run first_draw before the shared variables are cleared
};

extern const GaugeOps gauge_ops;

// ---------------------------------------------------------------------------
// Supplied by the frame.

extern "C" void KCALL gauge_callback(GaugeHeader* gauge, uint32_t service, void* extra);
extern const FailureEntry no_failures[1];

// ---------------------------------------------------------------------------
// Record builders

struct PixSize {
    int32_t width, height;
};

constexpr ModuleVar sim_var(uint32_t id = 0) {
    ModuleVar v{};
    v.id = id;
    return v;
}

constexpr ElementHeader element_header(uint32_t kind, uint32_t resource, PixPoint position) {
    ElementHeader h{};
    h.kind = kind;
    h.resource_id = resource;
    h.position = position;
    h.failures = no_failures;
    h.image_flags = IMAGE_DEFAULT;
    return h;
}

constexpr StaticElement image(uint32_t resource, PixPoint position) {
    StaticElement e{};
    e.header = element_header(KIND_STATIC, resource, position);
    return e;
}

// An icon shows frame k as bitmap resource + k; it declares at least 2 frames.
constexpr IconElement icon(uint32_t resource, PixPoint position, uint32_t frames,
                           IconCallback callback, uint32_t var = 0) {
    IconElement e{};
    e.header = element_header(KIND_ICON, resource, position);
    e.source = sim_var(var);
    e.mode = ICON_MODE_STEP_TO;
    e.frame_count = frames < 2 ? 2 : frames;
    e.callback = callback;
    return e;
}

// A needle turns its bitmap about `pivot_in_bitmap`, placed on `pivot`.
template <size_t N>
constexpr NeedleElement needle(uint32_t resource, PixPoint pivot, PixPoint pivot_in_bitmap,
                               NonlinearityEntry (&table)[N], NeedleCallback callback,
                               uint32_t var = 0) {
    NeedleElement e{};
    e.header = element_header(KIND_NEEDLE, resource, pivot);
    e.header.offset = pivot_in_bitmap;
    e.source = sim_var(var);
    e.table = table;
    e.table_count = N;
    e.callback = callback;
    return e;
}

struct TextStyle {
    const char* font;  // "Arial", "Arial Narrow" or "Quartz"
    int32_t weight;
    uint32_t color;       // COLORREF 0x00BBGGRR
    uint32_t background;  // COLORREF
};

constexpr uint16_t TEXT_CAPACITY = 0x4240;

constexpr TextElement text(PixPoint position, PixSize box, TextStyle style, TextCallback callback,
                           uint32_t var = 0) {
    TextElement e{};
    e.header = element_header(KIND_TEXT, 0xFFFFFFFFu, position);
    e.source[0] = sim_var(var);
    e.box_width = box.width;
    e.box_height = box.height;
    e.text_color = style.color;
    e.background_color = style.background;
    for (size_t i = 0; i + 1 < sizeof e.font && style.font[i]; ++i) e.font[i] = style.font[i];
    e.font_weight = style.weight;
    e.charset = 1;
    e.capacity = TEXT_CAPACITY;
    e.callback = callback;
    return e;
}

struct SliderAxis {
    double scale;  // pixels per unit of the callback's result
    SliderCallback callback;
    uint32_t var;
};

constexpr SliderElement slider(uint32_t resource, PixPoint position, SliderAxis x, SliderAxis y) {
    SliderElement e{};
    e.header = element_header(KIND_SLIDER, resource, position);
    e.source_x = sim_var(x.var);
    e.scale_x = x.scale;
    e.callback_x = x.callback;
    e.source_y = sim_var(y.var);
    e.scale_y = y.scale;
    e.callback_y = y.callback;
    return e;
}

struct MovingAxis {
    double first, second;  // values that put the strip's near and far edge on the window's
    MovingCallback callback;
    uint32_t var;
};

// A moving image is seen through its window, bitmap resource + 1.
constexpr MovingElement moving(uint32_t resource, PixPoint position, MovingAxis x, MovingAxis y) {
    MovingElement e{};
    e.header = element_header(KIND_MOVING, resource, position);
    e.source_x = sim_var(x.var);
    e.range_x[0] = x.first;
    e.range_x[1] = x.second;
    e.callback_x = x.callback;
    e.source_y = sim_var(y.var);
    e.range_y[0] = y.first;
    e.range_y[1] = y.second;
    e.callback_y = y.callback;
    return e;
}

struct SpriteAxis {
    double scale;  // pixels per unit; for the rotation, degrees per unit and sense (-1 or +1)
    SpriteCallback callback;
    uint32_t var;
};

// A sprite turns inside its mask, bitmap resource + 1, placed at `position`;
// the image's centre sits on `centre_in_mask`.
constexpr SpriteElement sprite(uint32_t resource, PixPoint position, PixPoint centre_in_mask,
                               SpriteAxis x, SpriteAxis y, SpriteAxis rotation) {
    SpriteElement e{};
    e.header = element_header(KIND_SPRITE, resource, position);
    e.header.offset = centre_in_mask;
    e.source_x = sim_var(x.var);
    e.scale_x = x.scale;
    e.callback_x = x.callback;
    e.source_y = sim_var(y.var);
    e.scale_y = y.scale;
    e.callback_y = y.callback;
    e.source_rotation = sim_var(rotation.var);
    e.scale_rotation = rotation.scale;
    e.callback_rotation = rotation.callback;
    e.texture_scale_x = 1.0f;
    e.texture_scale_y = 1.0f;
    return e;
}

constexpr NonlinearityEntry point(int32_t x, int32_t y, double value) {
    return NonlinearityEntry{{x, y}, value, 0.0};
}

// The element chain: each element is followed directly by its own one-entry
// list {&element, null}, and each element's child list is the next one's.
// The builder links the chain at compile time; the root's list is the gauge
// header's element list. (Every record's size is a multiple of 4, so on
// 32-bit targets nothing comes between an element and its list; 64-bit
// builds may align the list to 8.)
template <class E>
struct Linked {
    E element;
    ElementHeader* list[2];
};

template <class... E>
struct Chain;

template <class Last>
struct Chain<Last> {
    Linked<Last> node;
    constexpr Chain(GaugeHeader* gauge, const Last& last) : node{last, {}} {
        node.element.header.gauge = gauge;
        node.list[0] = &node.element.header;
    }
    constexpr ElementHeader** root() { return node.list; }
};

template <class First, class... Rest>
struct Chain<First, Rest...> {
    Linked<First> node;
    Chain<Rest...> rest;
    constexpr Chain(GaugeHeader* gauge, const First& first, const Rest&... others)
        : node{first, {}}, rest(gauge, others...) {
        node.element.header.gauge = gauge;
        node.element.header.children = rest.node.list;
        node.list[0] = &node.element.header;
    }
    constexpr ElementHeader** root() { return node.list; }
};

template <class... E>
Chain(GaugeHeader*, E...) -> Chain<E...>;

// The mouse list of a gauge without clickable areas.
extern MouseRect no_mouse_areas[3];

constexpr GaugeHeader gauge(const char* name, ElementHeader** root, MouseRect* mouse) {
    GaugeHeader h{};
    h.version = GAUGE_HEADER_VERSION;
    h.name = name;
    h.elements = root;
    h.size_x_mm = 100;
    h.mouse_rect = mouse;
    h.callback = gauge_callback;
    return h;
}

constexpr MouseRect mouse_entry(uint32_t kind) {
    MouseRect m{};
    m.kind = kind;
    m.cursor = CURSOR_NONE;
    return m;
}

constexpr MouseRect mouse_start() { return mouse_entry(MOUSE_START); }
constexpr MouseRect mouse_end_area() { return mouse_entry(MOUSE_END_AREA); }
constexpr MouseRect mouse_end_list() { return mouse_entry(MOUSE_END_LIST); }

constexpr MouseRect mouse_tooltip(const char* tip, void* word) {
    MouseRect m = mouse_entry(MOUSE_TOOLTIP);
    m.tooltip = tip;
    m.extra = word;
    return m;
}

constexpr MouseRect mouse_area(PixBox box, int32_t cursor, uint32_t flags, MouseCallback callback) {
    MouseRect m{};
    m.kind = MOUSE_CHILD;
    m.box = box;
    m.cursor = cursor;
    m.flags = flags;
    m.callback = callback;
    return m;
}

// ---------------------------------------------------------------------------
// Helpers for callbacks

// The host's table, read afresh from ImportTable at every call.
HostTable* host();

inline void key_event(uint32_t event_id) { host()->trigger_key_event(event_id, 0); }

// Shared variables: a record that was never bound reads 0 and drops writes.
inline int32_t shared_get(const ModuleVar& v) {
    return v.value_ptr ? *static_cast<const int32_t*>(v.value_ptr) : 0;
}
inline void shared_set(ModuleVar& v, int32_t value) {
    if (v.value_ptr) *static_cast<int32_t*>(v.value_ptr) = value;
}
// A toggle sets 1 from 0, and 0 from anything else.
inline void toggle(int32_t& v) { v = (v == 0) ? 1 : 0; }
inline void shared_toggle(ModuleVar& v) { shared_set(v, shared_get(v) == 0 ? 1 : 0); }

// Boolean simulator variables count as on only when exactly 1.0.
inline bool is_on(double v) { return v == 1.0; }

template <class E>
inline void set_bright(E* e, bool bright) {
    if (bright)
        e->header.image_flags |= IMAGE_BRIGHT;
    else
        e->header.image_flags &= ~IMAGE_BRIGHT;
}

// The power rule: lit while "power" equals exactly 1.
template <class E>
inline void apply_power(E* e, const ModuleVar& power) {
    set_bright(e, shared_get(power) == 1);
}

template <class E>
inline void show_if(E* e, bool shown) {
    if (shown)
        e->header.image_flags &= ~IMAGE_HIDDEN;
    else
        e->header.image_flags |= IMAGE_HIDDEN;
}

// Element callbacks that apply the power rule of `Power` and return the
// element's own source value, unchanged: lit_value for icons and needles,
// lit_x, lit_y and lit_rotation for the axes of sliders, moving images and
// sprites. A gauge names them in its chain as lit_value<power>.
template <const ModuleVar& Power>
double KCALL lit_value(IconElement* e) {
    apply_power(e, Power);
    return e->source.value.d;
}
template <const ModuleVar& Power>
double KCALL lit_value(NeedleElement* e) {
    apply_power(e, Power);
    return e->source.value.d;
}
template <const ModuleVar& Power, class E>
double KCALL lit_x(E* e) {
    apply_power(e, Power);
    return e->source_x.value.d;
}
template <const ModuleVar& Power, class E>
double KCALL lit_y(E* e) {
    apply_power(e, Power);
    return e->source_y.value.d;
}
template <const ModuleVar& Power>
double KCALL lit_rotation(SpriteElement* e) {
    apply_power(e, Power);
    return e->source_rotation.value.d;
}

// An icon shown while `shown` holds, lit by the power rule or always
// bright; the element's own source value is its frame.
inline double lit_while(IconElement* e, const ModuleVar& power, bool shown) {
    apply_power(e, power);
    show_if(e, shown);
    return e->source.value.d;
}
inline double bright_while(IconElement* e, bool shown) {
    set_bright(e, true);
    show_if(e, shown);
    return e->source.value.d;
}
// An icon shown while `shown` holds that leaves its bright bit alone (covers).
inline double shown_while(IconElement* e, bool shown) {
    show_if(e, shown);
    return e->source.value.d;
}
// The dark cover of a screen: shown unless both the battery master (a
// simulator variable) and the screen's display selector (shared) are on.
inline double display_cover(IconElement* e, const ModuleVar& battery_master, const ModuleVar& selector) {
    return shown_while(e, !(battery_master.value.d != 0 && shared_get(selector) != 0));
}

// The value rounded to single precision, without undefined behaviour for
// values beyond the float range (they become infinities, as the FPU does).
float to_single(double v);

// The value truncated toward zero to a 32-bit integer, as a C cast does for
// values in range; NaN gives 0 and values beyond the range saturate, where a
// cast would be undefined.
constexpr int32_t to_int32(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Formats `value`, rounded to single precision, into the element's text
// buffer; never writes past the buffer's capacity.
void format_text(TextElement* e, const char* format, double value);

// A fixed caption: a label format such as "FLAPS%400.0f" printed with the
// element's own value, so that only the label shows in the box. Lit by the
// power rule, or always bright. Text callbacks return 0.
inline double caption(TextElement* e, const ModuleVar& power, const char* format) {
    apply_power(e, power);
    format_text(e, format, e->source[0].value.d);
    return 0;
}
inline double bright_caption(TextElement* e, const char* format) {
    set_bright(e, true);
    format_text(e, format, e->source[0].value.d);
    return 0;
}

// The three sound files, relative to the simulator's directory.
extern const char SOUND_CLICK[];
extern const char SOUND_SWITCH[];
extern const char SOUND_CHIME[];

// GaugePlaySound(path, "", 0), skipped when the sound library or the function is missing.
void play_gauge_sound(const char* path);
// PlaySoundA(path, null, SND_FILENAME | SND_ASYNC).
void play_system_sound(const char* path);
