#include "host/render.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>

#include "host/bitmap.h"
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
    std::map<uint32_t, Surface> by_tint;  // tint (0xRRGGBB) -> surface
};

// A font face at size 1, with what sizing it needs.
struct Renderer::Font {
    cairo_font_face_t* face = nullptr;
    double cell = 1;         // ascent + descent at size 1
    double ascent = 1;       // at size 1
    double min_advance = 0;  // narrowest printable character at size 1
    ~Font() {
        if (face) cairo_font_face_destroy(face);
    }
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

Renderer::Font& Renderer::font(const TextElement& e) {
    const std::string family = rules::font_family(e.font, sizeof e.font);
    const bool bold = rules::bold(e.font_weight);
    auto& slot = fonts_[{family, bold}];
    if (slot) return *slot;
    slot = std::make_unique<Font>();
    Font& f = *slot;
    f.face = cairo_toy_font_face_create(family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                                        bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    // Measure at a large size, without hinting, and scale down.
    constexpr double SIZE = 100;
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, SIZE, SIZE);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(f.face, &size, &identity, options);
    cairo_font_extents_t fe;
    cairo_scaled_font_extents(scaled, &fe);
    if (fe.ascent + fe.descent > 0) {
        f.cell = (fe.ascent + fe.descent) / SIZE;
        f.ascent = fe.ascent / SIZE;
    }
    double narrowest = SIZE;
    for (int c = 0x20; c < 0x7F; ++c) {
        const char s[2] = {static_cast<char>(c), 0};
        cairo_text_extents_t te;
        cairo_scaled_font_text_extents(scaled, s, &te);
        if (te.x_advance > 0) narrowest = std::min(narrowest, te.x_advance);
    }
    f.min_advance = narrowest / SIZE;
    cairo_scaled_font_destroy(scaled);
    cairo_font_options_destroy(options);
    if (cairo_font_face_status(f.face) != CAIRO_STATUS_SUCCESS) note("font " + family + " could not be opened");
    return f;
}

bool Renderer::natural_size(const Gauge& gauge, int* width, int* height) {
    if (gauge.size() == 0) return false;
    const ElementHeader* root = gauge.element(0);
    Bitmap* b = bitmap(gauge.name, root->resource_id, "background");
    if (!b) return false;
    *width = b->pixels->width;
    *height = b->pixels->height;
    return true;
}

static cairo_matrix_t to_cairo(const Affine& a) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, a.xx, a.yx, a.xy, a.yy, a.x0, a.y0);
    return m;
}

// Paints a surface through `placement` (surface pixels to gauge pixels),
// seen through `mask` at (mask_x, mask_y) when one is given.
static void paint(cairo_t* cr, cairo_surface_t* s, const Affine& placement, cairo_surface_t* mask = nullptr,
                  double mask_x = 0, double mask_y = 0) {
    cairo_matrix_t m = to_cairo(placement);
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return;
    cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_filter(p, CAIRO_FILTER_GOOD);
    cairo_set_source(cr, p);
    if (mask) {
        cairo_mask_surface(cr, mask, mask_x, mask_y);
    } else {
        // Only the bitmap's own rectangle, so that nothing else is touched.
        // (The path stays in device space across the restore.)
        cairo_save(cr);
        const cairo_matrix_t forward = to_cairo(placement);
        cairo_transform(cr, &forward);
        cairo_rectangle(cr, 0, 0, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
        cairo_restore(cr);
        cairo_fill(cr);
    }
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
            paint(cr, lit(*b, shade), at(pos.x, pos.y));
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
            paint(cr, lit(*b, shade), at(pos.x, pos.y));
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
            paint(cr, lit(*b, shade), rules::needle_transform(pos, e->offset, angle));
        }
        break;
    }
    case KIND_SLIDER: {
        const auto* sl = reinterpret_cast<const SliderElement*>(e);
        const rules::Vec d = rules::slider_offset(s.value[0], sl->scale_x, s.value[1], sl->scale_y);
        if (Bitmap* b = bitmap(g.name, e->resource_id, "slider")) {
            counted(b->pixels->width, b->pixels->height);
            paint(cr, lit(*b, shade), at(pos.x + d.x, pos.y + d.y));
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
        paint(cr, lit(*image, shade), at(pos.x + dx, pos.y + dy), lit(*window, 0xFFFFFF), pos.x, pos.y);
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
        paint(cr, lit(*image, shade),
              rules::sprite_transform(pos, e->offset, image->pixels->width, image->pixels->height, v),
              lit(*mask, 0xFFFFFF), pos.x, pos.y);
        break;
    }
    case KIND_TEXT:
        draw_text(cr, g, i, shade);
        break;
    default:
        break;
    }
}

// The module's text as UTF-8 for cairo, one string per line: bytes from
// 0x80 up are read as Latin-1, control characters other than line breaks
// are dropped, and each line keeps only as many characters as could reach
// the box's right edge.
static std::vector<std::string> text_lines(const std::string& text, size_t max_chars) {
    std::vector<std::string> lines(1);
    size_t chars = 0;
    for (unsigned char c : text) {
        if (c == '\n') {
            lines.emplace_back();
            chars = 0;
            continue;
        }
        if (c < 0x20 || c == 0x7F || chars >= max_chars) continue;
        ++chars;
        if (c < 0x80) {
            lines.back() += static_cast<char>(c);
        } else {
            lines.back() += static_cast<char>(0xC0 | (c >> 6));
            lines.back() += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    // Blanks at the end of a line draw nothing: a caption's padding (the
    // number printed far out of the box) costs no glyphs.
    for (std::string& line : lines) {
        const size_t end = line.find_last_not_of(' ');
        line.resize(end == std::string::npos ? 0 : end + 1);
    }
    return lines;
}

void Renderer::draw_text(cairo_t* cr, const Gauge& g, size_t i, uint32_t shade) {
    const auto* t = reinterpret_cast<const TextElement*>(g.element(i));
    const std::string& text = g.state[i].text;
    const rules::TextBox box = rules::text_box(*t);
    if (box.width <= 0 || box.height <= 0 || box.cell_height <= 0 || text.empty()) return;
    Font& f = font(*t);
    counted(static_cast<int>(ceil(box.width)), static_cast<int>(ceil(box.height)));
    const double size = box.cell_height / f.cell;
    const double width = rules::font_width(t->font, sizeof t->font);
    // Characters beyond this count cannot start inside the box (half the
    // narrowest advance leaves room for hinting).
    const double reach = box.width / std::max(f.min_advance * size * width * 0.5, 0.25);
    const auto lines = text_lines(text, static_cast<size_t>(std::min(reach, 4096.0)) + 2);
    const uint32_t rgb = rules::tinted(rules::colorref_rgb(t->text_color), shade);
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    cairo_set_font_face(cr, f.face);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, size * width, size);
    cairo_set_font_matrix(cr, &matrix);
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    for (size_t k = 0; k < lines.size() && k * box.cell_height < box.height; ++k) {
        if (lines[k].empty()) continue;
        cairo_move_to(cr, box.x, box.y + f.ascent * size + k * box.cell_height);
        cairo_show_text(cr, lines[k].c_str());
    }
    cairo_restore(cr);
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
static double usable(double scale) { return scale >= 0.01 && scale <= 64 ? scale : 1.0; }

// A window's picture has at most this many pixels (128 MB): a panel may give
// any size, and a larger one is drawn smaller.
constexpr double MAX_PICTURE_PIXELS = 32.0 * 1024 * 1024;

// The scales (x, y) that draw a window of w x h within the largest picture.
static void fit(double w, double h, double* sx, double* sy) {
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
    scale = usable(scale);
    int w = 1, h = 1;
    natural_size(gauge, &w, &h);
    Surface s = new_surface(static_cast<int>(lround(w * scale)), static_cast<int>(lround(h * scale)));
    cairo_t* cr = cairo_create(s.get());
    cairo_scale(cr, scale, scale);
    draw_gauge(cr, gauge);
    cairo_destroy(cr);
    return s;
}

// The gauge an entry places, if it is loaded and carries that gauge name.
static Gauge* placed_gauge(Host& host, const PanelGauge& entry, std::string* why) {
    Gauge* g = host.find(entry.module);
    if (!g) return nullptr;
    const char* name = g->layout.header ? g->layout.header->name : nullptr;
    if (!entry.gauge.empty() && (!name || strcasecmp(name, entry.gauge.c_str()) != 0)) {
        *why = format("module %s has no gauge named %s (its gauge is %s); skipped", entry.module.c_str(),
                      entry.gauge.c_str(), name ? name : "unnamed");
        return nullptr;
    }
    return g;
}

// The side of a placeholder whose entry gives no size.
constexpr int PLACEHOLDER_SIDE = 64;

// The entry's place and size on the window. A gauge of no known size (its
// module missing) takes the place its placeholder shows.
static void entry_box(const PanelGauge& entry, int natural_w, int natural_h, double* w, double* h) {
    if (natural_w <= 0 || natural_h <= 0) {
        *w = entry.width > 0 ? entry.width : PLACEHOLDER_SIDE;
        *h = entry.height > 0 ? entry.height : entry.width > 0 ? entry.width : PLACEHOLDER_SIDE;
        return;
    }
    *w = entry.width > 0 ? entry.width : natural_w;
    *h = entry.height > 0 ? entry.height
                          : (entry.width > 0 ? double(entry.width) * natural_h / natural_w : natural_h);
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
        std::string why;
        Gauge* g = placed_gauge(host, entry, &why);
        int nw = 0, nh = 0;
        if (g) natural_size(*g, &nw, &nh);
        double w, h;
        entry_box(entry, nw, nh, &w, &h);
        right = std::max(right, entry.x + w);
        bottom = std::max(bottom, entry.y + h);
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
        // Where a gauge that is not there (not installed, not built yet,
        // refused, or named wrongly) would go, with its module's name.
        if (!placeholders_) return;
        double w, h;
        entry_box(entry, 0, 0, &w, &h);
        draw_placeholder(cr, entry, w, h);
        return;
    }
    double w, h;
    entry_box(entry, nw, nh, &w, &h);
    cairo_save(cr);
    cairo_translate(cr, entry.x, entry.y);
    cairo_scale(cr, w / nw, h / nh);
    draw_gauge(cr, *g);
    cairo_restore(cr);
}

void Renderer::draw_window(cairo_t* cr, const PanelWindow& window, Host& host) {
    int ww, wh;
    window_size(window, host, &ww, &wh);
    cairo_save(cr);
    draw_background(cr, window, ww, wh);
    for (const PanelGauge& entry : window.gauges) draw_entry(cr, entry, host);
    cairo_restore(cr);
}

// The entry's place on the target, in device pixels, rounded outwards. The
// place is the entry's box, or the gauge's own size where the entry gives
// none (a placeholder needs a box of its own).
static Renderer::Box device_box(cairo_t* cr, double x, double y, double w, double h) {
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

void Renderer::draw_window_region(cairo_t* cr, const PanelWindow& window, Host& host,
                                  const std::vector<Box>& region) {
    if (region.empty()) return;
    int ww, wh;
    window_size(window, host, &ww, &wh);
    cairo_save(cr);
    // The region's rectangles are the target's pixels: the path is made in
    // device space, and the clip keeps it there.
    cairo_matrix_t user;
    cairo_get_matrix(cr, &user);
    cairo_identity_matrix(cr);
    for (const Box& b : region) cairo_rectangle(cr, b.x, b.y, b.width, b.height);
    cairo_set_matrix(cr, &user);
    cairo_clip(cr);
    draw_background(cr, window, ww, wh);
    for (const PanelGauge& entry : window.gauges) {
        std::string why;
        Gauge* g = placed_gauge(host, entry, &why);
        int nw = 0, nh = 0;
        if (g) natural_size(*g, &nw, &nh);
        double w, h;
        entry_box(entry, nw, nh, &w, &h);
        const Box place = device_box(cr, entry.x, entry.y, w, h);
        bool reaches = false;
        for (const Box& b : region) reaches = reaches || overlap(place, b);
        if (reaches) draw_entry(cr, entry, host);
    }
    cairo_restore(cr);
}

Surface Renderer::window_picture(const PanelWindow& window, Host& host, double scale) {
    scale = usable(scale);
    int w, h;
    window_size(window, host, &w, &h);
    // A virtual cockpit's texture has a size of its own: its grid is
    // stretched to it.
    double sx = scale, sy = scale;
    if (window.kind == PanelWindow::Kind::VirtualCockpit && window.pixel_width > 0 && window.pixel_height > 0) {
        sx *= double(window.pixel_width) / w;
        sy *= double(window.pixel_height) / h;
    }
    fit(w, h, &sx, &sy);
    Surface s = new_surface(static_cast<int>(std::clamp<double>(lround(w * sx), 1, MAX_PANEL_SIDE)),
                            static_cast<int>(std::clamp<double>(lround(h * sy), 1, MAX_PANEL_SIDE)));
    cairo_t* cr = cairo_create(s.get());
    cairo_scale(cr, sx, sy);
    draw_window(cr, window, host);
    cairo_destroy(cr);
    return s;
}

WindowPicture::WindowPicture(Renderer& renderer, const PanelWindow& window, Host& host, double scale)
    : renderer_(renderer), window_(window), host_(host), scale_(usable(scale)) {
    int w, h;
    renderer_.window_size(window_, host_, &w, &h);
    double s = scale_;
    fit(w, h, &s, &s);
    width_ = std::max(static_cast<int>(lround(w * s)), 1);
    height_ = std::max(static_cast<int>(lround(h * s)), 1);
    drawn_scale_ = s;
    surface_ = new_surface(width_, height_);
    shown_.resize(window_.gauges.size());
}

bool WindowPicture::update() {
    // A window sized by its gauges grows as they load: a new surface.
    int w, h;
    renderer_.window_size(window_, host_, &w, &h);
    double s = scale_;
    fit(w, h, &s, &s);
    w = std::max(static_cast<int>(lround(w * s)), 1);
    h = std::max(static_cast<int>(lround(h * s)), 1);
    if (w != width_ || h != height_ || s != drawn_scale_) {
        width_ = w;
        height_ = h;
        drawn_scale_ = s;
        surface_ = new_surface(width_, height_);
        drawn_ = false;
    }
    // Lighting, tints and placeholders change every place: all is drawn anew.
    const bool all = !drawn_ || look_ != renderer_.look();
    cairo_t* cr = cairo_create(surface_.get());
    cairo_scale(cr, s, s);
    std::vector<Renderer::Box> region;
    changed_ = 0;
    for (size_t i = 0; i < window_.gauges.size(); ++i) {
        const PanelGauge& entry = window_.gauges[i];
        std::string why;
        const Gauge* g = placed_gauge(host_, entry, &why);
        Shown& shown = shown_[i];
        if (!all && g == shown.gauge && (!g || g->state == shown.state)) continue;
        ++changed_;
        // Its place before and now: a gauge loaded since may differ in size.
        for (const Gauge* which : {shown.gauge, g}) {
            int nw = 0, nh = 0;
            if (which && which == g) renderer_.natural_size(*g, &nw, &nh);
            if (which && which != g) {
                nw = shown.width;
                nh = shown.height;
            }
            double w, h;
            entry_box(entry, nw, nh, &w, &h);
            region.push_back(device_box(cr, entry.x, entry.y, w, h));
        }
        shown.gauge = g;
        shown.state = g ? g->state : std::vector<ElementState>();
        shown.width = shown.height = 0;
        if (g) renderer_.natural_size(*g, &shown.width, &shown.height);
    }
    last_drawn_ = all ? std::vector<Renderer::Box>{{0, 0, width_, height_}} : region;
    if (all) {
        renderer_.draw_window(cr, window_, host_);
    } else if (!region.empty()) {
        renderer_.draw_window_region(cr, window_, host_, region);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface_.get());
    drawn_ = true;
    look_ = renderer_.look();
    return all || !region.empty();
}

std::vector<std::string> load_panel(Host& host, const PanelConfig& config, const std::string& gauge_dir) {
    std::vector<std::string> messages = config.messages();
    std::vector<std::string> present;
    std::map<std::string, int> first_line;
    for (const PanelWindow& w : config.windows)
        for (const PanelGauge& g : w.gauges)
            if (!first_line.count(g.module)) first_line[g.module] = g.line;
    for (const std::string& module : config.modules()) {
        const std::string path = gauge_dir + "/" + module + ".gau";
        struct stat st;
        if (stat(path.c_str(), &st) != 0) {
            messages.push_back(format("%s:%d: no module %s (%s); its gauge is skipped", config.path.c_str(),
                                      first_line[module], module.c_str(), path.c_str()));
            continue;
        }
        if (host.find(module)) continue;
        // The path itself, so that no name is ever looked up anywhere else.
        present.push_back(path);
    }
    std::string error;
    if (!host.load(present, &error)) {
        // One line per refused module, "<module>: <fault>".
        size_t start = 0;
        while (start < error.size()) {
            size_t end = error.find('\n', start);
            if (end == std::string::npos) end = error.size();
            const std::string line = error.substr(start, end - start);
            const std::string module = line.substr(0, line.find(':'));
            messages.push_back(format("%s:%d: %s; its gauge is skipped", config.path.c_str(),
                                      first_line.count(module) ? first_line[module] : 0, line.c_str()));
            start = end + 1;
        }
    }
    return messages;
}

}  // namespace kestrel
