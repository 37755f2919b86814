#include "host/render/rules.h"

#include <math.h>
#include <string.h>
#include <strings.h>

#include <algorithm>

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

// --- Bitmaps on whole pixels and where they reach ----------------------------

// -1, 0 or 1 when v is that within rounding, else 2.
static int unit_or_zero(double v) {
    for (int u : {-1, 0, 1})
        if (fabs(v - u) < 1e-9) return u;
    return 2;
}

Affine on_whole_pixels(const Affine& a) {
    const int xx = unit_or_zero(a.xx), yx = unit_or_zero(a.yx), xy = unit_or_zero(a.xy), yy = unit_or_zero(a.yy);
    const bool straight = xx != 0 && xx != 2 && yy != 0 && yy != 2 && xy == 0 && yx == 0;
    const bool across = xy != 0 && xy != 2 && yx != 0 && yx != 2 && xx == 0 && yy == 0;
    if (!straight && !across) return a;
    return Affine{double(xx), double(yx), double(xy), double(yy), floor(a.x0 + 0.5), floor(a.y0 + 0.5)};
}

Occupancy occupancy(const uint32_t* argb, int width, int height, int cell) {
    Occupancy o;
    o.cell = std::max(cell, 1);
    o.width = std::max(width, 0);
    o.height = std::max(height, 0);
    o.cols = (o.width + o.cell - 1) / o.cell;
    o.rows = (o.height + o.cell - 1) / o.cell;
    o.shows.assign(size_t(o.cols) * o.rows, 0);
    for (int y = 0; y < o.height; ++y) {
        const uint32_t* row = argb + size_t(y) * o.width;
        uint8_t* cells = o.shows.data() + size_t(y / o.cell) * o.cols;
        for (int x = 0; x < o.width; ++x)
            if (row[x] >> 24) cells[x / o.cell] = 1;
    }
    return o;
}

static PixelBox intersect(const PixelBox& a, const PixelBox& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
    return {x0, y0, std::max(x1 - x0, 0), std::max(y1 - y0, 0)};
}

// The target pixels whose centres may sample the bitmap's rectangle
// [x0, x1] x [y0, y1] (bitmap pixels) through `m`: its corners' bounding
// box, the sample points being pixel centres, with a pixel to spare each way
// for the filter's reach and the fixed-point rounding of the sampling.
static void target_span(const Affine& m, double x0, double y0, double x1, double y1, double* tx0, double* ty0,
                        double* tx1, double* ty1) {
    const Vec c[4] = {m.apply({x0, y0}), m.apply({x1, y0}), m.apply({x0, y1}), m.apply({x1, y1})};
    *tx0 = *tx1 = c[0].x;
    *ty0 = *ty1 = c[0].y;
    for (const Vec& v : c) {
        *tx0 = std::min(*tx0, v.x);
        *tx1 = std::max(*tx1, v.x);
        *ty0 = std::min(*ty0, v.y);
        *ty1 = std::max(*ty1, v.y);
    }
    *tx0 = floor(*tx0 - 0.5) - 1;
    *ty0 = floor(*ty0 - 0.5) - 1;
    *tx1 = floor(*tx1 - 0.5) + 1;
    *ty1 = floor(*ty1 - 0.5) + 1;
}

std::vector<PixelBox> reach(const Occupancy& image, const Affine& m, const Occupancy* mask, int mask_x, int mask_y,
                            PixelBox limit) {
    constexpr int C = REACH_CELL;
    // What may change at all: the mask's rectangle, or the bitmap's turned
    // rectangle (a pixel beyond it, where the filter still reaches).
    PixelBox area;
    if (mask) {
        area = {mask_x, mask_y, mask->width, mask->height};
    } else {
        double x0, y0, x1, y1;
        target_span(m, -1, -1, image.width + 1, image.height + 1, &x0, &y0, &x1, &y1);
        const double far = 4 * FAR;
        x0 = std::clamp(x0, -far, far);
        y0 = std::clamp(y0, -far, far);
        x1 = std::clamp(x1, -far, far);
        y1 = std::clamp(y1, -far, far);
        area = {int(x0), int(y0), int(x1 - x0) + 1, int(y1 - y0) + 1};
    }
    area = intersect(area, limit);
    if (area.width <= 0 || area.height <= 0 || image.cols == 0) return {};
    // A grid of cells over the area, aligned with the mask's cells.
    const int gx = mask ? mask_x : area.x, gy = mask ? mask_y : area.y;
    const int col0 = (area.x - gx) / C, row0 = (area.y - gy) / C;
    const int col1 = (area.x + area.width - 1 - gx) / C, row1 = (area.y + area.height - 1 - gy) / C;
    const int cols = col1 - col0 + 1, rows = row1 - row0 + 1;
    std::vector<uint8_t> need(size_t(cols) * rows, 0);
    const int t = image.cell;
    for (int ty = 0; ty < image.rows; ++ty)
        for (int tx = 0; tx < image.cols; ++tx) {
            if (!image.shows[size_t(ty) * image.cols + tx]) continue;
            double x0, y0, x1, y1;
            target_span(m, tx * t - 1, ty * t - 1, std::min((tx + 1) * t, image.width) + 1,
                        std::min((ty + 1) * t, image.height) + 1, &x0, &y0, &x1, &y1);
            // In cells of the grid, held to it.
            auto cell = [](double v, double origin, int first, int last) {
                const double c = floor((v - origin) / C);
                return int(std::clamp(c, double(first) - 1, double(last) + 1));
            };
            const int c0 = std::max(cell(x0, gx, col0, col1), col0), c1 = std::min(cell(x1, gx, col0, col1), col1);
            const int r0 = std::max(cell(y0, gy, row0, row1), row0), r1 = std::min(cell(y1, gy, row0, row1), row1);
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c) need[size_t(r - row0) * cols + (c - col0)] = 1;
        }
    if (mask)
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                if (!mask->at(col0 + c, row0 + r)) need[size_t(r) * cols + c] = 0;
    // Runs of cells row by row; a run under one of the same columns in the
    // row above makes that box taller.
    std::vector<PixelBox> boxes;
    std::vector<size_t> above;  // boxes that end at the row above
    for (int r = 0; r < rows; ++r) {
        std::vector<size_t> here;
        for (int c = 0; c < cols;) {
            if (!need[size_t(r) * cols + c]) {
                ++c;
                continue;
            }
            int end = c;
            while (end < cols && need[size_t(r) * cols + end]) ++end;
            const int x = gx + (col0 + c) * C, y = gy + (row0 + r) * C, w = (end - c) * C;
            bool grown = false;
            for (size_t i : above)
                if (boxes[i].x == x && boxes[i].width == w) {
                    boxes[i].height += C;
                    here.push_back(i);
                    grown = true;
                    break;
                }
            if (!grown) {
                here.push_back(boxes.size());
                boxes.push_back({x, y, w, C});
            }
            c = end;
        }
        above.swap(here);
    }
    std::vector<PixelBox> out;
    for (const PixelBox& b : boxes) {
        const PixelBox in = intersect(b, area);
        if (in.width > 0 && in.height > 0) out.push_back(in);
    }
    return out;
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

std::vector<uint8_t> windshield(const uint32_t* argb, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const size_t n = size_t(width) * height;
    std::vector<uint8_t> in(n, 0);
    std::vector<size_t> todo;
    auto visit = [&](size_t i) {
        if (in[i] || (argb[i] & 0xFFFFFF) != 0) return;
        in[i] = 1;
        todo.push_back(i);
    };
    for (int x = 0; x < width; ++x) visit(size_t(x));
    if (todo.empty()) return {};
    while (!todo.empty()) {
        const size_t i = todo.back();
        todo.pop_back();
        const size_t x = i % width;
        if (x > 0) visit(i - 1);
        if (x + 1 < size_t(width)) visit(i + 1);
        if (i >= size_t(width)) visit(i - width);
        if (i + width < n) visit(i + width);
    }
    return in;
}

Horizon horizon(double pitch_down, double bank_left, double width, double level_y) {
    const double pitch = std::clamp(isnan(pitch_down) ? 0.0 : pitch_down, -90.0, 90.0);
    const double bank = std::clamp(isnan(bank_left) ? 0.0 : bank_left, -180.0, 180.0);
    return {width / 2, level_y - pitch * width / 90, bank * M_PI / 180};
}

Place popup_place(double screen_x, double screen_y, double screen_width, double screen_height, int grid_width,
                  int grid_height, double width, double height, double scale) {
    Place p;
    p.width = screen_width >= 0 ? screen_width * width : grid_width * scale;
    p.height = screen_height >= 0 ? screen_height * height : grid_height * scale;
    p.x = screen_x >= 0 ? screen_x * width : (width - p.width) / 2;
    p.y = screen_y >= 0 ? screen_y * height : (height - p.height) / 2;
    return p;
}

}  // namespace kestrel::rules
