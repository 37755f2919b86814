#include "host/render/render.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>

#include "host/panel/bitmap.h"
#include "host/render/text.h"
#include "host/util.h"

namespace kestrel {

using rules::Affine;

Surface new_surface(int width, int height) {
    return Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 1), std::max(height, 1)));
}

std::string artwork_path(const std::string& dir, const std::string& module, uint32_t id) {
    return dir + "/" + module + "/" + format("%04X", id) + ".bmp";
}

// One bitmap of a module or a window, read once, with a copy for each tint
// it has been drawn with (there are only two or three: lit, and the panel
// surface).
struct Renderer::Bitmap {
    std::shared_ptr<const Pixels> pixels;
    std::map<uint32_t, Surface> by_tint;           // tint (0xRRGGBB) -> surface
    std::map<int, rules::Occupancy> occupancy;     // cell size -> where it shows
    Surface alpha;                                 // as a mask: where it shows, alpha only
    int sparse = -1;                               // fewer than half its cells show (-1: not known yet)
};

Renderer::Renderer(std::string artwork_dir, const rules::Lighting& light)
    : dir_(std::move(artwork_dir)), light_(light) {}

Renderer::~Renderer() = default;

void Renderer::note(const std::string& message, const std::string& key) {
    if (told_.insert(key.empty() ? message : key).second) notes_.push_back(message);
}

std::vector<std::string> Renderer::take_notes() {
    std::vector<std::string> out;
    out.swap(notes_);
    return out;
}

Renderer::Bitmap* Renderer::bitmap(const std::string& module, uint32_t id, const char* role) {
    auto key = std::make_pair(module, id);
    auto it = bitmaps_.find(key);
    if (it == bitmaps_.end()) {
        auto b = std::make_unique<Bitmap>();
        const std::string path = artwork_path(dir_, module, id);
        auto pixels = std::make_shared<Pixels>();
        const std::string fault = read_bmp(path, pixels.get());
        b->pixels = std::move(pixels);
        if (!fault.empty()) {
            note(format("%s: bitmap %s (%s) not drawn: %s: %s", module.c_str(), hex(id).c_str(), role,
                        path.c_str(), fault.c_str()));
            b.reset();
        }
        it = bitmaps_.emplace(key, std::move(b)).first;
    }
    return it->second.get();
}

void Renderer::forget_bitmaps(const std::string& module) {
    for (auto it = bitmaps_.begin(); it != bitmaps_.end();)
        it = it->first.first == module ? bitmaps_.erase(it) : std::next(it);
}

// The bitmap tinted: its colours multiplied channel by channel, its
// transparency kept.
cairo_surface_t* Renderer::lit(Bitmap& b, uint32_t tint) {
    auto& by_tint = b.by_tint;
    auto it = by_tint.find(tint);
    if (it != by_tint.end()) return it->second.get();
    const Pixels& px = *b.pixels;
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, px.width, px.height));
    cairo_surface_flush(s.get());
    uint8_t* data = cairo_image_surface_get_data(s.get());
    const int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < px.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        const uint32_t* src = px.argb.data() + size_t(y) * px.width;
        for (int x = 0; x < px.width; ++x) {
            const uint32_t p = src[x];
            row[x] = tint == 0xFFFFFF || p == 0 ? p : (p & 0xFF000000u) | rules::tinted(p, tint);
        }
    }
    cairo_surface_mark_dirty(s.get());
    return by_tint.emplace(tint, std::move(s)).first->second.get();
}

// The bitmap as a mask: opaque where it shows, in an alpha-only surface,
// which cairo composites through faster than a coloured one.
cairo_surface_t* Renderer::mask_of(Bitmap& b) {
    if (b.alpha) return b.alpha.get();
    const Pixels& px = *b.pixels;
    b.alpha.reset(cairo_image_surface_create(CAIRO_FORMAT_A8, px.width, px.height));
    cairo_surface_flush(b.alpha.get());
    uint8_t* data = cairo_image_surface_get_data(b.alpha.get());
    const int stride = cairo_image_surface_get_stride(b.alpha.get());
    for (int y = 0; y < px.height; ++y) {
        const uint32_t* src = px.argb.data() + size_t(y) * px.width;
        for (int x = 0; x < px.width; ++x) data[size_t(y) * stride + x] = static_cast<uint8_t>(src[x] >> 24);
    }
    cairo_surface_mark_dirty(b.alpha.get());
    return b.alpha.get();
}

void Renderer::set_lighting(const rules::Lighting& light) {
    light_ = light;
    ++look_;
}

void Renderer::set_placeholders(bool shown) {
    placeholders_ = shown;
    ++look_;
}

void Renderer::set_colors(const PanelColors& colors) {
    tints_ = {colors.day, colors.night, colors.luminous};
    has_tints_ = colors.given;
    ++look_;
}

uint32_t Renderer::tint(uint32_t flags) const { return rules::tint(flags, light_, has_tints_ ? &tints_ : nullptr); }

bool Renderer::natural_size(const Gauge& gauge, int* width, int* height) {
    if (gauge.size() == 0) return false;
    const ElementHeader* root = gauge.element(0);
    Bitmap* b = bitmap(gauge.name, root->resource_id, "background");
    if (!b) return false;
    *width = b->pixels->width;
    *height = b->pixels->height;
    return true;
}

// Whether the context draws its user pixels onto whole device pixels, 1:1.
bool one_to_one(cairo_t* cr) {
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return m.xx == 1 && m.yy == 1 && m.xy == 0 && m.yx == 0 && m.x0 == floor(m.x0) && m.y0 == floor(m.y0);
}

static cairo_matrix_t to_cairo(const Affine& a) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, a.xx, a.yx, a.xy, a.yy, a.x0, a.y0);
    return m;
}

const rules::Occupancy& Renderer::occupancy(Bitmap& b, int cell) {
    auto it = b.occupancy.find(cell);
    if (it == b.occupancy.end())
        it = b.occupancy.emplace(cell, rules::occupancy(b.pixels->argb.data(), b.pixels->width, b.pixels->height, cell))
                 .first;
    return it->second;
}

// Whether most of the bitmap is transparent (fewer than half its cells show):
// such a bitmap copied through a large mask, a pointer over a whole dial,
// gains from being composited only where it shows.
bool Renderer::sparse(Bitmap& b) {
    if (b.sparse < 0) {
        const rules::Occupancy& o = occupancy(b, 8);
        b.sparse = 2 * size_t(std::count(o.shows.begin(), o.shows.end(), 1)) < o.shows.size();
    }
    return b.sparse;
}

// Reached boxes that cover more than this share of their bounding box are
// drawn as that one box: each box is a composite of its own.
constexpr double BOXES_WORTH_IT = 0.7;
constexpr size_t MOST_BOXES = 24;

void Renderer::paint_bitmap(cairo_t* cr, Bitmap& image, uint32_t tint, const Affine& placement, Bitmap* mask,
                            int mask_x, int mask_y) {
    const Affine where = rules::on_whole_pixels(placement);
    cairo_matrix_t m = to_cairo(where);
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return;
    // A bitmap turned by any other angle, or sparse and seen through a mask,
    // drawn 1:1 (a gauge at its own size on whole pixels), is composited only
    // in the boxes where it can show through its mask: a needle or a pointer
    // over a large mask leaves most of it untouched, and each pixel it
    // covers costs (a turned one is resampled, far dearer than a copy).
    const bool turned = where.xy != 0 || where.yx != 0 ? where.xx != 0 || where.yy != 0
                                                       : fabs(where.xx) != 1 || fabs(where.yy) != 1;
    std::vector<rules::PixelBox> boxes;
    if ((turned || (mask && sparse(image))) && one_to_one(cr)) {
        double x0, y0, x1, y1;
        cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
        const rules::PixelBox limit = {int(std::clamp(floor(x0), -rules::FAR, rules::FAR)),
                                       int(std::clamp(floor(y0), -rules::FAR, rules::FAR)),
                                       int(std::clamp(ceil(x1 - floor(x0)), 0.0, rules::FAR)),
                                       int(std::clamp(ceil(y1 - floor(y0)), 0.0, rules::FAR))};
        boxes = rules::reach(occupancy(image, 8), where, mask ? &occupancy(*mask, rules::REACH_CELL) : nullptr, mask_x,
                             mask_y, limit);
        if (boxes.empty()) return;  // nothing of it shows
        // Few and sparse boxes, or their bounding box.
        int bx0 = boxes[0].x, by0 = boxes[0].y, bx1 = bx0, by1 = by0;
        double area = 0;
        for (const auto& b : boxes) {
            bx0 = std::min(bx0, b.x);
            by0 = std::min(by0, b.y);
            bx1 = std::max(bx1, b.x + b.width);
            by1 = std::max(by1, b.y + b.height);
            area += double(b.width) * b.height;
        }
        if (boxes.size() > MOST_BOXES || area > BOXES_WORTH_IT * double(bx1 - bx0) * (by1 - by0))
            boxes = {{bx0, by0, bx1 - bx0, by1 - by0}};
    }
    cairo_pattern_t* p = cairo_pattern_create_for_surface(lit(image, tint));
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, CAIRO_FILTER_GOOD);
    cairo_set_source(cr, p);
    if (!boxes.empty()) {
        cairo_save(cr);
        for (const auto& b : boxes) cairo_rectangle(cr, b.x, b.y, b.width, b.height);
        cairo_clip(cr);
    }
    // The pattern's own extent bounds the painting: nothing beyond the
    // bitmap (and the filter's reach at its edges) is touched.
    if (mask)
        cairo_mask_surface(cr, mask_of(*mask), mask_x, mask_y);
    else
        cairo_paint(cr);
    if (!boxes.empty()) cairo_restore(cr);
    cairo_pattern_destroy(p);
}

static Affine at(double x, double y) { return Affine{1, 0, 0, 1, x, y}; }

void Renderer::draw_element(cairo_t* cr, const Gauge& g, size_t i) {
    const ElementHeader* e = g.element(i);
    const ElementState& s = g.state[i];
    if (!rules::drawn(s.flags)) return;
    const uint32_t shade = tint(s.flags);  // 0xRRGGBB the colours are multiplied by
    const PixPoint pos = e->position;
    auto where = [&] { return format("%s[%zu]", g.name.c_str(), i); };
    switch (e->kind) {
    case KIND_STATIC: {
        if (Bitmap* b = bitmap(g.name, e->resource_id, "image")) {
            counted(b->pixels->width, b->pixels->height);
            paint_bitmap(cr, *b, shade, at(pos.x, pos.y));
        }
        break;
    }
    case KIND_ICON: {
        const auto* icon = reinterpret_cast<const IconElement*>(e);
        const int frame = rules::icon_frame(s.value[0], icon->frame_count);
        if (frame < 0) {
            // Told once for the element, with the first such frame.
            note(format("%s: icon frame %s is outside 0 to %u; nothing drawn", where().c_str(),
                        number(s.value[0]).c_str(), icon->frame_count - 1),
                 where() + " frame");
            break;
        }
        if (Bitmap* b = bitmap(g.name, e->resource_id + uint32_t(frame), "icon frame")) {
            counted(b->pixels->width, b->pixels->height);
            paint_bitmap(cr, *b, shade, at(pos.x, pos.y));
        }
        break;
    }
    case KIND_NEEDLE: {
        const auto* n = reinterpret_cast<const NeedleElement*>(e);
        const size_t count = std::min<size_t>(n->table_count, MAX_TABLE_ENTRIES);
        if (!g.library.memory.readable(n->table, sizeof(NonlinearityEntry) * count)) {
            note(where() + ": needle table outside the module; not drawn");
            break;
        }
        const double angle = rules::needle_angle(n->table, count, pos, s.value[0]);
        if (Bitmap* b = bitmap(g.name, e->resource_id, "needle")) {
            counted(b->pixels->width, b->pixels->height);
            paint_bitmap(cr, *b, shade, rules::needle_transform(pos, e->offset, angle));
        }
        break;
    }
    case KIND_SLIDER: {
        const auto* sl = reinterpret_cast<const SliderElement*>(e);
        const rules::Vec d = rules::slider_offset(s.value[0], sl->scale_x, s.value[1], sl->scale_y);
        if (Bitmap* b = bitmap(g.name, e->resource_id, "slider")) {
            counted(b->pixels->width, b->pixels->height);
            paint_bitmap(cr, *b, shade, at(pos.x + d.x, pos.y + d.y));
        }
        break;
    }
    case KIND_MOVING: {
        const auto* m = reinterpret_cast<const MovingElement*>(e);
        Bitmap* image = bitmap(g.name, e->resource_id, "moving image");
        Bitmap* window = bitmap(g.name, e->resource_id + 1, "moving image's window");
        if (!image || !window) break;
        const double dx = rules::moving_shift(s.value[0], m->range_x[0], m->range_x[1], image->pixels->width,
                                              window->pixels->width);
        const double dy = rules::moving_shift(s.value[1], m->range_y[0], m->range_y[1], image->pixels->height,
                                              window->pixels->height);
        counted(window->pixels->width, window->pixels->height);  // what shows through the window
        paint_bitmap(cr, *image, shade, at(pos.x + dx, pos.y + dy), window, pos.x, pos.y);
        break;
    }
    case KIND_SPRITE: {
        const auto* sp = reinterpret_cast<const SpriteElement*>(e);
        Bitmap* image = bitmap(g.name, e->resource_id, "sprite");
        Bitmap* mask = bitmap(g.name, e->resource_id + 1, "sprite's mask");
        if (!image || !mask) break;
        const rules::SpriteValues v = {s.value[0], s.value[1], s.value[2],
                                       sp->scale_x, sp->scale_y, sp->scale_rotation};
        counted(mask->pixels->width, mask->pixels->height);  // what shows through the mask
        paint_bitmap(cr, *image, shade,
                     rules::sprite_transform(pos, e->offset, image->pixels->width, image->pixels->height, v), mask,
                     pos.x, pos.y);
        break;
    }
    case KIND_TEXT:
        draw_text(cr, g, i, shade);
        break;
    default:
        break;
    }
}

void Renderer::draw_gauge(cairo_t* cr, const Gauge& gauge) {
    int w, h;
    if (!natural_size(gauge, &w, &h)) return;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_clip(cr);
    for (size_t i = 0; i < gauge.size() && i < gauge.state.size(); ++i) draw_element(cr, gauge, i);
    cairo_restore(cr);
}

// Scales that make no picture are taken as 1:1.
double usable_scale(double scale) { return scale >= 0.01 && scale <= 64 ? scale : 1.0; }

// A window's picture has at most this many pixels (128 MB): a panel may give
// any size, and a larger one is drawn smaller.
constexpr double MAX_PICTURE_PIXELS = 32.0 * 1024 * 1024;

// The scales (x, y) that draw a window of w x h within the largest picture.
void fit_picture(double w, double h, double* sx, double* sy) {
    const double area = w * *sx * h * *sy;
    if (area <= MAX_PICTURE_PIXELS) return;
    double f = sqrt(MAX_PICTURE_PIXELS / area);
    // The picture's sides are rounded: a little less where rounding up
    // would pass the limit.
    while (f > 0 && double(lround(w * *sx * f)) * double(lround(h * *sy * f)) > MAX_PICTURE_PIXELS) f *= 0.999;
    *sx *= f;
    *sy *= f;
}

Surface Renderer::gauge_picture(const Gauge& gauge, double scale) {
    scale = usable_scale(scale);
    int w = 1, h = 1;
    natural_size(gauge, &w, &h);
    Surface s = new_surface(static_cast<int>(lround(w * scale)), static_cast<int>(lround(h * scale)));
    cairo_t* cr = cairo_create(s.get());
    cairo_scale(cr, scale, scale);
    draw_gauge(cr, gauge);
    cairo_destroy(cr);
    return s;
}

void Renderer::window_size(const PanelWindow& window, Host& host, int* width, int* height) {
    if (window.width > 0 && window.height > 0) {
        *width = window.width;
        *height = window.height;
        return;
    }
    // What size_mm does not give is the gauges' extent.
    double right = 1, bottom = 1;
    for (const PanelGauge& entry : window.gauges) {
        const Placement p = place_entry(entry, host, gauge_size());
        right = std::max(right, p.x + p.width);
        bottom = std::max(bottom, p.y + p.height);
    }
    *width = window.width > 0 ? window.width : static_cast<int>(std::min<double>(ceil(right), MAX_PANEL_SIDE));
    *height = window.height > 0 ? window.height : static_cast<int>(std::min<double>(ceil(bottom), MAX_PANEL_SIDE));
}

void Renderer::draw_background(cairo_t* cr, const PanelWindow& window, int ww, int wh) {
    const uint32_t surface = tint(0);
    const uint32_t bg = rules::tinted(window.background, surface);
    cairo_rectangle(cr, 0, 0, ww, wh);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, ((bg >> 16) & 0xFF) / 255.0, ((bg >> 8) & 0xFF) / 255.0, (bg & 0xFF) / 255.0);
    cairo_paint(cr);
    counted(ww, wh);
    draw_outside(cr, window, ww, wh);
    // The window's bitmap over it, stretched to the window; its pure black
    // is see-through, so the colour shows there.
    if (!window.picture || window.picture->width <= 0 || window.picture->height <= 0) return;
    auto& b = backgrounds_[window.picture.get()];
    if (!b) {
        b = std::make_unique<Bitmap>();
        b->pixels = window.picture;  // held, so that the key stays this bitmap's
    }
    const Pixels& px = *window.picture;
    counted(px.width, px.height);
    cairo_save(cr);
    cairo_scale(cr, double(ww) / px.width, double(wh) / px.height);
    cairo_set_source_surface(cr, lit(*b, surface), 0, 0);
    // Stretched pixels at the edges keep their colour instead of fading out.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0, 0, px.width, px.height);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Renderer::draw_placeholder(cairo_t* cr, const PanelGauge& entry, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, entry.x + 0.5, entry.y + 0.5, w - 1, h - 1);
    const double dash[] = {4, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
    cairo_stroke(cr);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 11);
    cairo_text_extents_t te;
    cairo_text_extents(cr, entry.module.c_str(), &te);
    cairo_rectangle(cr, entry.x, entry.y, w, h);
    cairo_clip(cr);
    cairo_move_to(cr, entry.x + (w - te.x_advance) / 2, entry.y + h / 2.0 + 4);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.28);
    cairo_show_text(cr, entry.module.c_str());
    cairo_restore(cr);
}

void Renderer::draw_entry(cairo_t* cr, const PanelGauge& entry, Host& host) {
    std::string why;
    Gauge* g = placed_gauge(host, entry, &why);
    if (!why.empty()) note(format("line %d: %s", entry.line, why.c_str()));
    int nw = 0, nh = 0;
    if (!g || !natural_size(*g, &nw, &nh)) {
        // Where a gauge that is not there (not installed, refused, or named
        // wrongly) would go, with its module's name.
        if (!placeholders_) return;
        const Placement p = place_entry(entry, 0, 0);
        draw_placeholder(cr, entry, p.width, p.height);
        return;
    }
    const Placement p = place_entry(entry, nw, nh);
    cairo_save(cr);
    cairo_translate(cr, p.x, p.y);
    cairo_scale(cr, p.scale_x(), p.scale_y());
    draw_gauge(cr, *g);
    cairo_restore(cr);
}

void Renderer::draw_window(cairo_t* cr, const PanelWindow& window, Host& host) {
    int ww, wh;
    window_size(window, host, &ww, &wh);
    pitch_ = host.sim.get(0x4E);
    bank_ = host.sim.get(0x50);
    cairo_save(cr);
    draw_background(cr, window, ww, wh);
    for (const PanelGauge& entry : window.gauges) draw_entry(cr, entry, host);
    cairo_restore(cr);
}

// The entry's place on the target, in device pixels, rounded outwards. The
// place is the entry's box, or the gauge's own size where the entry gives
// none (a placeholder needs a box of its own).
Renderer::Box device_box(cairo_t* cr, double x, double y, double w, double h) {
    double xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (int i = 0; i < 4; ++i) {
        cairo_user_to_device(cr, &xs[i], &ys[i]);
        x0 = std::min(x0, xs[i]);
        y0 = std::min(y0, ys[i]);
        x1 = std::max(x1, xs[i]);
        y1 = std::max(y1, ys[i]);
    }
    auto held = [](double v) { return std::clamp(v, -double(MAX_PANEL_SIDE) * 64, double(MAX_PANEL_SIDE) * 64); };
    const int ix0 = static_cast<int>(floor(held(x0))), iy0 = static_cast<int>(floor(held(y0)));
    const int ix1 = static_cast<int>(ceil(held(x1))), iy1 = static_cast<int>(ceil(held(y1)));
    return {ix0, iy0, ix1 - ix0, iy1 - iy0};
}

static bool overlap(const Renderer::Box& a, const Renderer::Box& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The window's background (its colour and bitmap) as draw_background paints
// it on a clear target of `width` x `height` device pixels under `matrix`,
// kept until any of these changes.
struct Renderer::BackgroundLayer {
    std::shared_ptr<const Pixels> picture;  // held, so that the key stays this bitmap's
    uint32_t colour = 0;
    uint64_t look = 0;
    double pitch = 0, bank = 0;  // of the outside view, where the window has one
    int window_width = 0, window_height = 0, width = 0, height = 0;
    cairo_matrix_t matrix{};
    Surface surface;
};

cairo_surface_t* Renderer::background_layer(cairo_t* cr, const PanelWindow& window, int ww, int wh) {
    cairo_surface_t* target = cairo_get_target(cr);
    const int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    const bool outside = windshield_of(window) != nullptr;
    const double pitch = outside ? pitch_ : 0, bank = outside ? bank_ : 0;
    auto same = [&](const BackgroundLayer& l) {
        return l.picture == window.picture && l.colour == window.background && l.look == look_ &&
               !memcmp(&l.pitch, &pitch, sizeof pitch) && !memcmp(&l.bank, &bank, sizeof bank) &&
               l.window_width == ww && l.window_height == wh && l.width == width && l.height == height &&
               memcmp(&l.matrix, &matrix, sizeof matrix) == 0;
    };
    for (auto& l : layers_cache_)
        if (same(*l)) return l->surface.get();
    auto l = std::make_unique<BackgroundLayer>();
    l->picture = window.picture;
    l->colour = window.background;
    l->look = look_;
    l->pitch = pitch;
    l->bank = bank;
    l->window_width = ww;
    l->window_height = wh;
    l->width = width;
    l->height = height;
    l->matrix = matrix;
    l->surface = new_surface(width, height);
    cairo_t* lc = cairo_create(l->surface.get());
    cairo_set_matrix(lc, &matrix);
    std::vector<Layer>* counting = layers_;
    layers_ = nullptr;  // made once, not part of any one drawing's cost
    draw_background(lc, window, ww, wh);
    layers_ = counting;
    cairo_destroy(lc);
    cairo_surface_flush(l->surface.get());
    // A few windows' layers are kept: a panel's pictures take turns.
    if (layers_cache_.size() >= 4) layers_cache_.erase(layers_cache_.begin());
    layers_cache_.push_back(std::move(l));
    return layers_cache_.back()->surface.get();
}

void Renderer::draw_window_region(cairo_t* cr, const PanelWindow& window, Host& host,
                                  const std::vector<Box>& region) {
    if (region.empty()) return;
    int ww, wh;
    window_size(window, host, &ww, &wh);
    pitch_ = host.sim.get(0x4E);
    bank_ = host.sim.get(0x50);
    // Each entry is drawn again whole, exactly as draw_window draws it (a
    // clip of its own would change how cairo rounds its edges and samples
    // its turned bitmaps), so the place of every entry that reaches into the
    // region joins the region, and so on until no other entry reaches in.
    std::vector<Box> places, boxes = region;
    for (const PanelGauge& entry : window.gauges) {
        const Placement p = place_entry(entry, host, gauge_size());
        places.push_back(device_box(cr, p.x, p.y, p.width, p.height));
    }
    std::vector<bool> drawn(places.size(), false);
    auto reaches = [&](const Box& place) {
        return std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) { return overlap(place, b); });
    };
    for (bool grown = true; grown;) {
        grown = false;
        for (size_t i = 0; i < places.size(); ++i) {
            if (drawn[i] || !reaches(places[i])) continue;
            drawn[i] = grown = true;
            boxes.push_back(places[i]);
        }
    }
    // The background inside the boxes, copied pixel for pixel from the
    // window's background as a whole drawing paints it.
    cairo_surface_t* layer = background_layer(cr, window, ww, wh);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    for (const Box& b : boxes) cairo_rectangle(cr, b.x, b.y, b.width, b.height);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, layer, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    for (const Box& b : boxes) counted(b.width, b.height);
    // The entries in entry order, within the window as draw_window has them.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, ww, wh);
    cairo_clip(cr);
    for (size_t i = 0; i < places.size(); ++i)
        if (drawn[i]) draw_entry(cr, window.gauges[i], host);
    cairo_restore(cr);
}

Surface Renderer::window_picture(const PanelWindow& window, Host& host, double scale) {
    scale = usable_scale(scale);
    int w, h;
    window_size(window, host, &w, &h);
    // A virtual cockpit's texture has a size of its own: its grid is
    // stretched to it.
    double sx = scale, sy = scale;
    if (window.kind == PanelWindow::Kind::VirtualCockpit && window.pixel_width > 0 && window.pixel_height > 0) {
        sx *= double(window.pixel_width) / w;
        sy *= double(window.pixel_height) / h;
    }
    const double asked = sx;
    fit_picture(w, h, &sx, &sy);
    if (sx < asked)
        note(format("%s: drawn at x%.2f rather than x%g: a picture has at most %.0f pixels", window.title.c_str(),
                    scale * sx / asked, scale, MAX_PICTURE_PIXELS),
             "fit " + window.title);
    Surface s = new_surface(static_cast<int>(std::clamp<double>(lround(w * sx), 1, MAX_PANEL_SIDE)),
                            static_cast<int>(std::clamp<double>(lround(h * sy), 1, MAX_PANEL_SIDE)));
    cairo_t* cr = cairo_create(s.get());
    cairo_scale(cr, sx, sy);
    draw_window(cr, window, host);
    cairo_destroy(cr);
    return s;
}

}  // namespace kestrel
