#include "host/render_rules.h"

#include <math.h>
#include <string.h>
#include <strings.h>

namespace kestrel::rules {

double finite(double v) {
    if (isnan(v)) return 0;
    return v < -FAR ? -FAR : v > FAR ? FAR : v;
}

// t held to [0, 1]; NaN counts as 0.
static double unit(double t) { return t > 0 ? (t < 1 ? t : 1) : 0; }

// --- Lighting ---------------------------------------------------------------

const Lighting* lighting_named(const char* name) {
    static const Lighting* const all[] = {&DAY, &DUSK, &NIGHT};
    for (const Lighting* l : all)
        if (name && strcmp(name, l->name) == 0) return l;
    return nullptr;
}

double brightness(uint32_t flags, const Lighting& light) {
    return (flags & IMAGE_BRIGHT) ? 1.0 : light.surface;
}

bool drawn(uint32_t flags) { return (flags & IMAGE_HIDDEN) == 0; }

uint32_t tint(uint32_t flags, const Lighting& light, const PanelTints* panel) {
    if (flags & IMAGE_BRIGHT) return 0xFFFFFF;
    if (panel && light.time == Lighting::Day) return panel->day & 0xFFFFFF;
    if (panel && light.time == Lighting::Night)
        return ((flags & IMAGE_LUMINOUS) ? panel->luminous : panel->night) & 0xFFFFFF;
    const uint32_t level = static_cast<uint32_t>(lround(unit(light.surface) * 255));
    return level * 0x010101u;
}

uint32_t tinted(uint32_t rgb, uint32_t t) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= ((((rgb >> shift) & 0xFF) * ((t >> shift) & 0xFF) + 127) / 255) << shift;
    return out;
}

// --- Needle -----------------------------------------------------------------

static double point_angle(const NonlinearityEntry& e, PixPoint pivot) {
    return atan2(double(e.point.y) - pivot.y, double(e.point.x) - pivot.x);
}

double needle_angle(const NonlinearityEntry* table, size_t count, PixPoint pivot, double value) {
    if (!table || count == 0) return 0;
    const double first = point_angle(table[0], pivot);
    if (isnan(value) || value <= table[0].value) return first;
    for (size_t i = 0; i + 1 < count; ++i) {
        const double v0 = table[i].value, v1 = table[i + 1].value;
        if (!(v1 > v0) || value < v0 || value > v1) continue;
        const double a0 = point_angle(table[i], pivot), a1 = point_angle(table[i + 1], pivot);
        const double turn = remainder(a1 - a0, 2 * M_PI);  // the short way round
        return a0 + unit((value - v0) / (v1 - v0)) * turn;
    }
    return value >= table[count - 1].value ? point_angle(table[count - 1], pivot) : first;
}

static Affine turned(double angle) {
    const double c = cos(angle), s = sin(angle);
    return Affine{c, s, -s, c, 0, 0};
}

// The map that turns by `a` and then puts point `from` on point `to`.
static Affine turn_and_place(const Affine& a, Vec from, Vec to) {
    Affine m = a;
    const Vec r = a.apply(from);
    m.x0 = to.x - r.x;
    m.y0 = to.y - r.y;
    return m;
}

Affine needle_transform(PixPoint pivot, PixPoint pivot_in_bitmap, double angle) {
    return turn_and_place(turned(finite(angle)), {double(pivot_in_bitmap.x), double(pivot_in_bitmap.y)},
                          {double(pivot.x), double(pivot.y)});
}

// --- Slider -----------------------------------------------------------------

Vec slider_offset(double x, double scale_x, double y, double scale_y) {
    return {finite(x * scale_x), finite(y * scale_y)};
}

// --- Moving image -----------------------------------------------------------

double moving_shift(double value, double first, double second, int image_length, int window_length) {
    if (!(first != second) || isnan(first) || isnan(second)) return 0;
    const double t = unit((value - first) / (second - first));
    return finite(t * (double(window_length) - image_length));
}

// --- Sprite -----------------------------------------------------------------

double sprite_angle(double rotation, double scale_rotation) {
    // Counter-clockwise on the screen is the negative sense here. Whole
    // turns are taken off first so that huge values stay exact enough.
    const double degrees = fmod(finite(rotation * scale_rotation), 360.0);
    return -degrees * M_PI / 180.0;
}

Affine sprite_transform(PixPoint position, PixPoint offset, int image_width, int image_height,
                        const SpriteValues& v) {
    const Vec placed = {double(image_width) / 2 + finite(v.x * v.scale_x),
                        double(image_height) / 2 + finite(v.y * v.scale_y)};
    return turn_and_place(turned(sprite_angle(v.rotation, v.scale_rotation)), placed,
                          {double(position.x) + offset.x, double(position.y) + offset.y});
}

// --- Icon -------------------------------------------------------------------

int icon_frame(double value, uint32_t frame_count) {
    if (!(value >= 0) || value >= double(frame_count)) return -1;
    return static_cast<int>(value);
}

// --- Text -------------------------------------------------------------------

TextBox text_box(const TextElement& e) {
    const double w = e.box_width > 0 ? e.box_width : 0, h = e.box_height > 0 ? e.box_height : 0;
    return {double(e.header.position.x), double(e.header.position.y), w, h,
            e.char_height > 0 ? double(e.char_height) : h};
}

const char* font_family(const char* face, size_t face_size) {
    const size_t n = face ? strnlen(face, face_size) : 0;
    auto is = [&](const char* name) { return strlen(name) == n && strncasecmp(face, name, n) == 0; };
    if (is("Arial Narrow")) return "Liberation Sans Narrow";
    if (is("Quartz")) return "DSEG7 Classic";
    return "Liberation Sans";
}

double font_width(const char* face, size_t face_size) {
    const size_t n = face ? strnlen(face, face_size) : 0;
    return n == 6 && strncasecmp(face, "Quartz", 6) == 0 ? 0.65 : 1.0;
}

bool bold(int32_t weight) { return weight >= 550; }

uint32_t colorref_rgb(uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

}  // namespace kestrel::rules
