// The renderer's texts: fonts measured once, lines cut to what can reach the
// box, and the ink of texts drawn 1:1 kept and copied in their colour.
#include "host/render/text.h"

#include <math.h>
#include <string.h>

#include <algorithm>

#include "host/util.h"

namespace kestrel {

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

// Texts drawn 1:1 keep their ink for the next drawing, up to this many
// texts, and for boxes up to this size.
constexpr size_t MOST_INKS = 4096;
constexpr double MOST_INK_PIXELS = 1 << 20;

void Renderer::draw_text(cairo_t* cr, const Gauge& g, size_t i, uint32_t shade) {
    const auto* t = reinterpret_cast<const TextElement*>(g.element(i));
    const std::string& text = g.state[i].text;
    const rules::TextBox box = rules::text_box(*t);
    if (box.width <= 0 || box.height <= 0 || box.cell_height <= 0 || text.empty()) return;
    Font& f = font(*t);
    counted(static_cast<int>(ceil(box.width)), static_cast<int>(ceil(box.height)));
    const double size = box.cell_height / f.cell;
    const double width = rules::font_width(t->font, sizeof t->font);
    const uint32_t rgb = rules::tinted(rules::colorref_rgb(t->text_color), shade);
    // The glyphs, black on a clear target with the box's top-left corner
    // at (x, y): characters beyond `reach` cannot start inside the box
    // (half the narrowest advance leaves room for hinting).
    auto show = [&](cairo_t* target, double x, double y) {
        const double reach = box.width / std::max(f.min_advance * size * width * 0.5, 0.25);
        const auto lines = text_lines(text, static_cast<size_t>(std::min(reach, 4096.0)) + 2);
        cairo_set_font_face(target, f.face);
        cairo_matrix_t matrix;
        cairo_matrix_init_scale(&matrix, size * width, size);
        cairo_set_font_matrix(target, &matrix);
        for (size_t k = 0; k < lines.size() && k * box.cell_height < box.height; ++k) {
            if (lines[k].empty()) continue;
            cairo_move_to(target, x, y + f.ascent * size + k * box.cell_height);
            cairo_show_text(target, lines[k].c_str());
        }
    };
    const double r = ((rgb >> 16) & 0xFF) / 255.0, gr = ((rgb >> 8) & 0xFF) / 255.0, b = (rgb & 0xFF) / 255.0;
    if (!one_to_one(cr) || box.width * box.height > MOST_INK_PIXELS) {
        cairo_save(cr);
        cairo_rectangle(cr, box.x, box.y, box.width, box.height);
        cairo_clip(cr);
        cairo_set_source_rgb(cr, r, gr, b);
        show(cr, box.x, box.y);
        cairo_restore(cr);
        return;
    }
    // 1:1 the glyphs land on the same pixels wherever the box lies (its
    // corner is on a whole pixel): the text's ink is drawn once and then
    // copied in the text's colour, which costs less than laying out and
    // compositing each glyph again.
    std::string key(reinterpret_cast<const char*>(&f), sizeof(Font*));
    for (double v : {size, width, box.width, box.height, box.cell_height})
        key.append(reinterpret_cast<const char*>(&v), sizeof v);
    key += text;
    auto it = inks_.find(key);
    if (it == inks_.end()) {
        if (inks_.size() >= MOST_INKS) inks_.clear();
        it = inks_.emplace(std::move(key), std::make_unique<TextInk>()).first;
        make_ink(*it->second, static_cast<int>(ceil(box.width)), static_cast<int>(ceil(box.height)),
                 [&](cairo_t* target) { show(target, 0, 0); });
    }
    const TextInk& ink = *it->second;
    if (!ink.alpha) return;
    cairo_set_source_rgb(cr, r, gr, b);
    cairo_mask_surface(cr, ink.alpha.get(), box.x + ink.x, box.y + ink.y);
}

void Renderer::make_ink(TextInk& ink, int width, int height, const std::function<void(cairo_t*)>& show) {
    Surface whole(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    cairo_t* c = cairo_create(whole.get());
    show(c);
    cairo_destroy(c);
    cairo_surface_flush(whole.get());
    const uint8_t* data = cairo_image_surface_get_data(whole.get());
    const int stride = cairo_image_surface_get_stride(whole.get());
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (data[size_t(y) * stride + x]) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return;  // no ink
    ink.x = x0;
    ink.y = y0;
    ink.alpha.reset(cairo_image_surface_create(CAIRO_FORMAT_A8, x1 - x0 + 1, y1 - y0 + 1));
    cairo_surface_flush(ink.alpha.get());
    uint8_t* cut = cairo_image_surface_get_data(ink.alpha.get());
    const int cut_stride = cairo_image_surface_get_stride(ink.alpha.get());
    for (int y = y0; y <= y1; ++y) memcpy(cut + size_t(y - y0) * cut_stride, data + size_t(y) * stride + x0, x1 - x0 + 1);
    cairo_surface_mark_dirty(ink.alpha.get());
}

}  // namespace kestrel
