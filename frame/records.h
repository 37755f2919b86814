// The panel host's gauge interface: the records a gauge module shares with the
// host, in the host's 32-bit layouts.
//
// Every record is packed to 4 bytes, so a double inside a record may sit on a
// 4-byte boundary. On 32-bit targets the offsets and sizes are asserted at the
// end of this file; a 64-bit native build uses the same declarations with
// 8-byte pointers, and both sides of the interface (modules and the
// development host) are then compiled from this one header.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The host calls every callback with the Windows standard calling convention;
// other targets have only one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define KCALL __stdcall
#else
#define KCALL
#endif

// Exported data symbols of a module (Linkage, ImportTable), inside extern "C".
#if defined(_WIN32)
#define KESTREL_EXPORT __declspec(dllexport)
#else
#define KESTREL_EXPORT __attribute__((visibility("default")))
#endif

#pragma pack(push, 4)

struct PixPoint {
    int32_t x, y;
};

struct PixBox {
    int32_t x, y, width, height;
};

// ---------------------------------------------------------------------------
// Simulator and shared variables

union VarValue {
    double d;    // FLOAT64 variables
    uint32_t u;  // binary-coded decimal and other 32-bit integers, first four bytes
    int32_t i;
};

// The host's record of one variable. A record with a simulator variable id is
// refreshed by lookup_var; a record bound by name gets the address of the
// owner's storage in `value_ptr`.
struct ModuleVar {
    uint32_t id;
    void* value_ptr;
    uint32_t type;
    VarValue value;
    VarValue previous;
};

constexpr uint32_t VAR_TYPE_UINT32 = 0x13;  // type of every shared panel variable

// ---------------------------------------------------------------------------
// Elements

enum ElementKind : uint32_t {
    KIND_STATIC = 0,
    KIND_NEEDLE = 1,
    KIND_TEXT = 2,
    KIND_SLIDER = 3,
    KIND_ICON = 4,
    KIND_MOVING = 5,
    KIND_SPRITE = 6,
};

// Image flags.
constexpr uint32_t IMAGE_TRANSPARENT = 0x1;  // black is transparent
constexpr uint32_t IMAGE_ERASE = 0x2;
constexpr uint32_t IMAGE_BRIGHT = 0x4;
constexpr uint32_t IMAGE_DIB = 0x20;
constexpr uint32_t IMAGE_BILINEAR_GREY = 0x40;
constexpr uint32_t IMAGE_BILINEAR_COLOR = 0x80;
constexpr uint32_t IMAGE_NO_MASK = 0x200;
constexpr uint32_t IMAGE_MASK = 0x1000;
constexpr uint32_t IMAGE_ALPHA = 0x2000;
constexpr uint32_t IMAGE_LUMINOUS = 0x4000;
constexpr uint32_t IMAGE_HIDDEN_TREE = 0x02000000;
constexpr uint32_t IMAGE_HIDDEN = 0x40000000;
// What every element of the system starts with.
constexpr uint32_t IMAGE_DEFAULT = IMAGE_TRANSPARENT | IMAGE_ERASE | IMAGE_BILINEAR_COLOR;

struct GaugeHeader;
struct ElementHeader;

struct FailureEntry {
    uint32_t key;
    uint32_t action;
    uint32_t reserved;
};

struct ElementHeader {
    uint32_t kind;
    uint32_t resource_id;
    PixPoint position;
    PixPoint previous_position;  // host
    PixPoint offset;
    GaugeHeader* gauge;
    ElementHeader* parent;  // host
    ElementHeader** children;
    const FailureEntry* failures;
    uint32_t image_flags;
    uint32_t special_flags;
    uint32_t reserved;
};

struct StaticElement {
    ElementHeader header;
    uint32_t host_60[9];
};

struct NonlinearityEntry {
    PixPoint point;
    double value;
    double angle;  // host
};

struct NeedleElement;
struct TextElement;
struct SliderElement;
struct IconElement;
struct MovingElement;
struct SpriteElement;

using SourceCallback = double(KCALL*)(double);  // unused by the system: always null
using LagCallback = double(KCALL*)(double);     // unused by the system: always null
using NeedleCallback = double(KCALL*)(NeedleElement*);
using TextCallback = double(KCALL*)(TextElement*);
using SliderCallback = double(KCALL*)(SliderElement*);
using IconCallback = double(KCALL*)(IconElement*);
using MovingCallback = double(KCALL*)(MovingElement*);
using SpriteCallback = double(KCALL*)(SpriteElement*);

struct NeedleElement {
    ElementHeader header;
    ModuleVar source;
    SourceCallback source_callback;
    void* unused_92[3];
    PixPoint reference;  // host
    NonlinearityEntry* table;
    uint32_t table_count;
    int32_t max_degrees_per_tick;
    uint32_t host_124[25];
    NeedleCallback callback;
    uint32_t host_228[2];
};

struct TextElement {
    ElementHeader header;
    ModuleVar source[3];
    double saved[3];  // host
    SourceCallback source_callbacks[3];
    void* source_function;
    char* text;           // host allocates capacity + 1 characters
    char* previous_text;  // host
    int32_t box_width;
    int32_t box_height;
    uint32_t host_200[2];
    uint32_t text_color;        // COLORREF 0x00BBGGRR
    uint32_t background_color;  // COLORREF
    uint32_t highlight_color;
    uint32_t host_220[7];
    char font[32];
    int32_t font_weight;
    uint8_t charset;
    uint8_t pad_285[3];
    uint32_t draw_flags;  // DrawText-style alignment flags: 0, left and top
    uint16_t capacity;    // characters, not counting the terminating null
    uint16_t char_width;  // host
    uint16_t selection_start;
    uint16_t selection_end;
    void* highlight_list;
    uint32_t host_304;
    int32_t char_height;  // 0: the host derives it from the box
    TextCallback callback;
    uint32_t user_color_switch;
    uint32_t user_color;
};

struct SliderElement {
    ElementHeader header;
    ModuleVar source_x;
    SourceCallback source_callback_x;
    double scale_x;
    LagCallback lag_x;
    ModuleVar source_y;
    SourceCallback source_callback_y;
    double scale_y;
    LagCallback lag_y;
    uint32_t host_148[5];
    SliderCallback callback_x;
    SliderCallback callback_y;
    double previous_x;  // host
    double previous_y;  // host
};

constexpr uint32_t ICON_MODE_STEP_TO = 3;

struct IconElement {
    ElementHeader header;
    ModuleVar source;
    SourceCallback source_callback;
    uint32_t mode;
    uint32_t host_96;
    double scale;
    int32_t frame_offset;
    uint32_t frame_count;
    uint32_t host_116[4];
    IconCallback callback;
    uint32_t reserved;
};

struct MovingElement {
    ElementHeader header;
    ModuleVar source_x;
    SourceCallback source_callback_x;
    double range_x[2];  // value that puts the left edge, then the right edge, on the window's
    LagCallback lag_x;
    ModuleVar source_y;
    SourceCallback source_callback_y;
    double range_y[2];  // value that puts the top edge, then the bottom edge, on the window's
    LagCallback lag_y;
    uint32_t host_164[20];
    MovingCallback callback_x;
    MovingCallback callback_y;
    double previous_x;  // host
    double previous_y;  // host
};

struct SpriteElement {
    ElementHeader header;
    ModuleVar source_x;
    SourceCallback source_callback_x;
    double scale_x;
    ModuleVar source_y;
    SourceCallback source_callback_y;
    double scale_y;
    ModuleVar source_rotation;
    SourceCallback source_callback_rotation;
    double scale_rotation;  // degrees per unit of the rotation result, and its sense
    float texture_scale_x;
    float texture_scale_y;
    uint32_t host_188[32];
    SpriteCallback callback_x;
    SpriteCallback callback_y;
    SpriteCallback callback_rotation;
    double previous[3];  // host
};

// ---------------------------------------------------------------------------
// Mouse areas

enum MouseKind : uint32_t {
    MOUSE_END_LIST = 0,
    MOUSE_START = 1,
    MOUSE_CHILD = 2,
    MOUSE_END_AREA = 3,
    MOUSE_TOOLTIP = 4,
};

enum Cursor : int32_t {
    CURSOR_NONE = -1,
    CURSOR_NORMAL = 0,
    CURSOR_UP = 1,
    CURSOR_DOWN = 2,
    CURSOR_LEFT = 3,
    CURSOR_RIGHT = 4,
    CURSOR_HAND = 5,
    CURSOR_CROSSHAIR = 6,
    CURSOR_GRAB = 7,
};

constexpr uint32_t MOUSE_LEFT_SINGLE = 0x20000000;
constexpr uint32_t MOUSE_REPEAT = 0x00200000;  // repeat while the button is held
constexpr uint32_t MOUSE_LEFT_REPEAT = MOUSE_LEFT_SINGLE | MOUSE_REPEAT;
constexpr uint32_t MOUSE_LEFT_DRAG = 0x00800000;
constexpr uint32_t MOUSE_LEFT_RELEASE = 0x00020000;

struct MouseRect;

// What the host hands a mouse callback.
struct MouseArgs {
    PixPoint relative;  // the point inside the gauge, background pixels
    void* user_data;    // the gauge header
    MouseRect* rect;
    PixPoint screen;
    uint32_t reserved;
};

using MouseCallback = int32_t(KCALL*)(MouseArgs* point, uint32_t mouse_flags);

struct MouseRect {
    uint32_t kind;
    PixBox box;
    int32_t cursor;
    uint32_t help_id;
    uint32_t flags;
    uint32_t event_id;
    union {
        MouseCallback callback;
        const char* tooltip;  // tooltip entries
    };
    void* extra;  // tooltip entries: a 32-bit module word
};

// ---------------------------------------------------------------------------
// The gauge, the module and the host

enum Service : uint32_t {
    SERVICE_PRE_QUERY = 0,
    SERVICE_POST_QUERY = 1,
    SERVICE_PRE_INSTALL = 2,
    SERVICE_POST_INSTALL = 3,
    SERVICE_PRE_INITIALIZE = 4,
    SERVICE_POST_INITIALIZE = 5,
    SERVICE_PRE_UPDATE = 6,
    SERVICE_POST_UPDATE = 7,
    SERVICE_PRE_GENERATE = 8,
    SERVICE_POST_GENERATE = 9,
    SERVICE_PRE_DRAW = 10,
    SERVICE_POST_DRAW = 11,
    SERVICE_PRE_KILL = 12,
    SERVICE_POST_KILL = 13,
    SERVICE_CONNECT_WINDOW = 14,
    SERVICE_DISCONNECT_WINDOW = 15,
    SERVICE_PANEL_OPEN = 16,
    SERVICE_PANEL_CLOSE = 17,
};

using GaugeCallback = void(KCALL*)(GaugeHeader* gauge, uint32_t service, void* extra);

constexpr uint32_t GAUGE_HEADER_VERSION = 800;  // 0x320

struct GaugeHeader {
    uint32_t version;
    const char* name;
    ElementHeader** elements;  // one-entry list holding the root element
    void* host_routines[7];
    uint32_t host_40;
    uint32_t size_x_mm;  // default width in millimetres
    uint32_t size_y_mm;
    float adjust[2];
    uint32_t host_60[5];
    MouseRect* mouse_rect;
    GaugeCallback callback;
    void* user_data;
    char* parameters;  // host
    const char* usage;
    uint32_t host_100[4];
    double user_area[10];
    uint32_t flags;
    uint32_t reserved;
};

// The host's table of operations. The modules use the seven named slots.
struct HostTable {
    uint32_t header[6];
    void* slots_24[30];
    int32_t(KCALL* trigger_key_event)(uint32_t event_id, uint32_t value);
    int32_t(KCALL* register_var_by_name)(void* storage, uint32_t type, const char* name);
    void(KCALL* initialize_var)(ModuleVar* var);
    void(KCALL* initialize_var_by_name)(ModuleVar* var, const char* name);
    void(KCALL* lookup_var)(ModuleVar* var);
    void(KCALL* unregister_var_by_name)(const char* name);
    void(KCALL* unregister_all_named_vars)();
    void* slots_172[39];
};

constexpr uint32_t IMPORT_HOST_TABLE = 0x0F;

struct ImportEntry {
    uint32_t id;
    HostTable* table;
};

struct ImportTableRecord {
    ImportEntry host;  // {IMPORT_HOST_TABLE, table written by the host}
    ImportEntry end;   // {0, null}
};

constexpr uint32_t MODULE_ID = 0x13;
constexpr uint32_t MODULE_VERSION = 0x800;
constexpr uint32_t MODULE_VERSION_2004 = 0x900;

using ModuleFunction = void(KCALL*)();

struct LinkageRecord {
    uint32_t module_id;
    ModuleFunction init;
    ModuleFunction deinit;
    uint32_t flags;
    uint32_t priority;
    uint32_t version;
    GaugeHeader* gauges[2];  // the one gauge, then null
};

#pragma pack(pop)

// ---------------------------------------------------------------------------
// The published 32-bit layouts.

#if UINTPTR_MAX == 0xFFFFFFFFu
#define KESTREL_AT(type, field, at) static_assert(offsetof(type, field) == (at), #type "." #field)

static_assert(sizeof(PixPoint) == 8 && sizeof(PixBox) == 16, "point and box");

static_assert(sizeof(ModuleVar) == 28, "module variable record");
KESTREL_AT(ModuleVar, id, 0);
KESTREL_AT(ModuleVar, value_ptr, 4);
KESTREL_AT(ModuleVar, type, 8);
KESTREL_AT(ModuleVar, value, 12);
KESTREL_AT(ModuleVar, previous, 20);

static_assert(sizeof(GaugeHeader) == 204, "gauge header");
KESTREL_AT(GaugeHeader, version, 0);
KESTREL_AT(GaugeHeader, name, 4);
KESTREL_AT(GaugeHeader, elements, 8);
KESTREL_AT(GaugeHeader, host_routines, 12);
KESTREL_AT(GaugeHeader, host_40, 40);
KESTREL_AT(GaugeHeader, size_x_mm, 44);
KESTREL_AT(GaugeHeader, size_y_mm, 48);
KESTREL_AT(GaugeHeader, adjust, 52);
KESTREL_AT(GaugeHeader, host_60, 60);
KESTREL_AT(GaugeHeader, mouse_rect, 80);
KESTREL_AT(GaugeHeader, callback, 84);
KESTREL_AT(GaugeHeader, user_data, 88);
KESTREL_AT(GaugeHeader, parameters, 92);
KESTREL_AT(GaugeHeader, usage, 96);
KESTREL_AT(GaugeHeader, host_100, 100);
KESTREL_AT(GaugeHeader, user_area, 116);
KESTREL_AT(GaugeHeader, flags, 196);
KESTREL_AT(GaugeHeader, reserved, 200);

static_assert(sizeof(ElementHeader) == 60, "element header");
static_assert(sizeof(FailureEntry) == 12, "failure entry");
KESTREL_AT(ElementHeader, kind, 0);
KESTREL_AT(ElementHeader, resource_id, 4);
KESTREL_AT(ElementHeader, position, 8);
KESTREL_AT(ElementHeader, previous_position, 16);
KESTREL_AT(ElementHeader, offset, 24);
KESTREL_AT(ElementHeader, gauge, 32);
KESTREL_AT(ElementHeader, parent, 36);
KESTREL_AT(ElementHeader, children, 40);
KESTREL_AT(ElementHeader, failures, 44);
KESTREL_AT(ElementHeader, image_flags, 48);
KESTREL_AT(ElementHeader, special_flags, 52);
KESTREL_AT(ElementHeader, reserved, 56);

static_assert(sizeof(StaticElement) == 96, "static image element");

static_assert(sizeof(NeedleElement) == 236, "needle element");
static_assert(sizeof(NonlinearityEntry) == 24, "nonlinearity entry");
KESTREL_AT(NonlinearityEntry, point, 0);
KESTREL_AT(NonlinearityEntry, value, 8);
KESTREL_AT(NonlinearityEntry, angle, 16);
KESTREL_AT(NeedleElement, source, 60);
KESTREL_AT(NeedleElement, source.value, 72);
KESTREL_AT(NeedleElement, source_callback, 88);
KESTREL_AT(NeedleElement, unused_92, 92);
KESTREL_AT(NeedleElement, reference, 104);
KESTREL_AT(NeedleElement, table, 112);
KESTREL_AT(NeedleElement, table_count, 116);
KESTREL_AT(NeedleElement, max_degrees_per_tick, 120);
KESTREL_AT(NeedleElement, host_124, 124);
KESTREL_AT(NeedleElement, callback, 224);
KESTREL_AT(NeedleElement, host_228, 228);

static_assert(sizeof(TextElement) == 324, "text element");
KESTREL_AT(TextElement, source, 60);
KESTREL_AT(TextElement, source[0].value, 72);
KESTREL_AT(TextElement, source[1], 88);
KESTREL_AT(TextElement, source[2], 116);
KESTREL_AT(TextElement, saved, 144);
KESTREL_AT(TextElement, source_callbacks, 168);
KESTREL_AT(TextElement, source_function, 180);
KESTREL_AT(TextElement, text, 184);
KESTREL_AT(TextElement, previous_text, 188);
KESTREL_AT(TextElement, box_width, 192);
KESTREL_AT(TextElement, box_height, 196);
KESTREL_AT(TextElement, host_200, 200);
KESTREL_AT(TextElement, text_color, 208);
KESTREL_AT(TextElement, background_color, 212);
KESTREL_AT(TextElement, highlight_color, 216);
KESTREL_AT(TextElement, host_220, 220);
KESTREL_AT(TextElement, font, 248);
KESTREL_AT(TextElement, font_weight, 280);
KESTREL_AT(TextElement, charset, 284);
KESTREL_AT(TextElement, draw_flags, 288);
KESTREL_AT(TextElement, capacity, 292);
KESTREL_AT(TextElement, char_width, 294);
KESTREL_AT(TextElement, selection_start, 296);
KESTREL_AT(TextElement, selection_end, 298);
KESTREL_AT(TextElement, highlight_list, 300);
KESTREL_AT(TextElement, host_304, 304);
KESTREL_AT(TextElement, char_height, 308);
KESTREL_AT(TextElement, callback, 312);
KESTREL_AT(TextElement, user_color_switch, 316);
KESTREL_AT(TextElement, user_color, 320);

static_assert(sizeof(SliderElement) == 192, "slider element");
KESTREL_AT(SliderElement, source_x, 60);
KESTREL_AT(SliderElement, source_x.value, 72);
KESTREL_AT(SliderElement, source_callback_x, 88);
KESTREL_AT(SliderElement, scale_x, 92);
KESTREL_AT(SliderElement, lag_x, 100);
KESTREL_AT(SliderElement, source_y, 104);
KESTREL_AT(SliderElement, source_y.value, 116);
KESTREL_AT(SliderElement, source_callback_y, 132);
KESTREL_AT(SliderElement, scale_y, 136);
KESTREL_AT(SliderElement, lag_y, 144);
KESTREL_AT(SliderElement, host_148, 148);
KESTREL_AT(SliderElement, callback_x, 168);
KESTREL_AT(SliderElement, callback_y, 172);
KESTREL_AT(SliderElement, previous_x, 176);
KESTREL_AT(SliderElement, previous_y, 184);

static_assert(sizeof(IconElement) == 140, "icon element");
KESTREL_AT(IconElement, source, 60);
KESTREL_AT(IconElement, source.value, 72);
KESTREL_AT(IconElement, source_callback, 88);
KESTREL_AT(IconElement, mode, 92);
KESTREL_AT(IconElement, host_96, 96);
KESTREL_AT(IconElement, scale, 100);
KESTREL_AT(IconElement, frame_offset, 108);
KESTREL_AT(IconElement, frame_count, 112);
KESTREL_AT(IconElement, host_116, 116);
KESTREL_AT(IconElement, callback, 132);
KESTREL_AT(IconElement, reserved, 136);

static_assert(sizeof(MovingElement) == 268, "moving image element");
KESTREL_AT(MovingElement, source_x, 60);
KESTREL_AT(MovingElement, source_x.value, 72);
KESTREL_AT(MovingElement, source_callback_x, 88);
KESTREL_AT(MovingElement, range_x, 92);
KESTREL_AT(MovingElement, lag_x, 108);
KESTREL_AT(MovingElement, source_y, 112);
KESTREL_AT(MovingElement, source_y.value, 124);
KESTREL_AT(MovingElement, source_callback_y, 140);
KESTREL_AT(MovingElement, range_y, 144);
KESTREL_AT(MovingElement, lag_y, 160);
KESTREL_AT(MovingElement, host_164, 164);
KESTREL_AT(MovingElement, callback_x, 244);
KESTREL_AT(MovingElement, callback_y, 248);
KESTREL_AT(MovingElement, previous_x, 252);
KESTREL_AT(MovingElement, previous_y, 260);

static_assert(sizeof(SpriteElement) == 352, "sprite element");
KESTREL_AT(SpriteElement, source_x, 60);
KESTREL_AT(SpriteElement, source_x.value, 72);
KESTREL_AT(SpriteElement, source_callback_x, 88);
KESTREL_AT(SpriteElement, scale_x, 92);
KESTREL_AT(SpriteElement, source_y, 100);
KESTREL_AT(SpriteElement, source_y.value, 112);
KESTREL_AT(SpriteElement, source_callback_y, 128);
KESTREL_AT(SpriteElement, scale_y, 132);
KESTREL_AT(SpriteElement, source_rotation, 140);
KESTREL_AT(SpriteElement, source_rotation.value, 152);
KESTREL_AT(SpriteElement, source_callback_rotation, 168);
KESTREL_AT(SpriteElement, scale_rotation, 172);
KESTREL_AT(SpriteElement, texture_scale_x, 180);
KESTREL_AT(SpriteElement, texture_scale_y, 184);
KESTREL_AT(SpriteElement, host_188, 188);
KESTREL_AT(SpriteElement, callback_x, 316);
KESTREL_AT(SpriteElement, callback_y, 320);
KESTREL_AT(SpriteElement, callback_rotation, 324);
KESTREL_AT(SpriteElement, previous, 328);

static_assert(sizeof(MouseRect) == 44, "mouse rectangle");
KESTREL_AT(MouseRect, kind, 0);
KESTREL_AT(MouseRect, box, 4);
KESTREL_AT(MouseRect, cursor, 20);
KESTREL_AT(MouseRect, help_id, 24);
KESTREL_AT(MouseRect, flags, 28);
KESTREL_AT(MouseRect, event_id, 32);
KESTREL_AT(MouseRect, callback, 36);
KESTREL_AT(MouseRect, extra, 40);
static_assert(sizeof(MouseArgs) == 28, "mouse callback argument");
KESTREL_AT(MouseArgs, relative, 0);
KESTREL_AT(MouseArgs, user_data, 8);
KESTREL_AT(MouseArgs, rect, 12);
KESTREL_AT(MouseArgs, screen, 16);

static_assert(sizeof(HostTable) == 328, "host function table");
KESTREL_AT(HostTable, slots_24, 24);
KESTREL_AT(HostTable, trigger_key_event, 144);
KESTREL_AT(HostTable, register_var_by_name, 148);
KESTREL_AT(HostTable, initialize_var, 152);
KESTREL_AT(HostTable, initialize_var_by_name, 156);
KESTREL_AT(HostTable, lookup_var, 160);
KESTREL_AT(HostTable, unregister_var_by_name, 164);
KESTREL_AT(HostTable, unregister_all_named_vars, 168);

static_assert(sizeof(ImportTableRecord) == 16, "import table");
KESTREL_AT(ImportTableRecord, host.id, 0);
KESTREL_AT(ImportTableRecord, host.table, 4);
KESTREL_AT(ImportTableRecord, end.id, 8);
KESTREL_AT(ImportTableRecord, end.table, 12);

static_assert(sizeof(LinkageRecord) == 32, "linkage");
KESTREL_AT(LinkageRecord, module_id, 0);
KESTREL_AT(LinkageRecord, init, 4);
KESTREL_AT(LinkageRecord, deinit, 8);
KESTREL_AT(LinkageRecord, flags, 12);
KESTREL_AT(LinkageRecord, priority, 16);
KESTREL_AT(LinkageRecord, version, 20);
KESTREL_AT(LinkageRecord, gauges, 24);

#undef KESTREL_AT
#endif
