// What the simulator shows of a window beyond its own drawing: the outside
// world through the windshield of the main panel's bitmap, and pop-up
// windows open over the main panel.
#include <algorithm>

#include "host/render/render.h"
#include "host/util.h"

namespace kestrel {

const Renderer::Windshield* Renderer::windshield_of(const PanelWindow& window) {
    if (!window.picture || window.picture->width <= 0 || window.picture->height <= 0) return nullptr;
    auto& w = windshields_[window.picture.get()];
    if (!w) {
        w = std::make_unique<Windshield>();
        w->pixels = window.picture;
        const Pixels& px = *window.picture;
        const std::vector<uint8_t> in = rules::windshield(px.argb.data(), px.width, px.height);
        if (!in.empty()) {
            w->mask.reset(cairo_image_surface_create(CAIRO_FORMAT_A8, px.width, px.height));
            cairo_surface_flush(w->mask.get());
            uint8_t* data = cairo_image_surface_get_data(w->mask.get());
            const int stride = cairo_image_surface_get_stride(w->mask.get());
            w->left = px.width;
            for (int y = 0; y < px.height; ++y)
                for (int x = 0; x < px.width; ++x) {
                    if (!in[size_t(y) * px.width + x]) continue;
                    data[size_t(y) * stride + x] = 0xFF;
                    w->left = std::min(w->left, x);
                    w->right = std::max(w->right, x + 1);
                    w->bottom = y + 1;
                }
            cairo_surface_mark_dirty(w->mask.get());
        }
    }
    return w->mask ? w.get() : nullptr;
}

bool Renderer::outside_view(const PanelWindow& window, Host& host, double* x, double* y, double* width,
                            double* height, std::pair<double, double>* attitude) {
    const Windshield* w = windshield_of(window);
    if (!w) return false;
    int ww, wh;
    window_size(window, host, &ww, &wh);
    const double sx = double(ww) / window.picture->width, sy = double(wh) / window.picture->height;
    // A pixel more each way: the stretched mask's edge reaches into the next.
    *x = (w->left - 1) * sx;
    *y = (w->top - 1) * sy;
    *width = (w->right - w->left + 2) * sx;
    *height = (w->bottom - w->top + 2) * sy;
    *attitude = {host.sim.get(0x4E), host.sim.get(0x50)};
    return true;
}

void Renderer::draw_outside(cairo_t* cr, const PanelWindow& window, int ww, int wh) {
    const Windshield* w = windshield_of(window);
    if (!w) return;
    const Pixels& px = *window.picture;
    const double sx = double(ww) / px.width, sy = double(wh) / px.height;
    // Level flight shows the horizon a fifth of the way up the windshield.
    const rules::Horizon h = rules::horizon(pitch_, bank_, ww, w->bottom * sy * 0.8);
    const uint32_t light = rules::tint(0, light_, nullptr);
    auto stop = [&](cairo_pattern_t* p, double at, uint32_t rgb) {
        const uint32_t c = rules::tinted(rgb, light);
        cairo_pattern_add_color_stop_rgb(p, at, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                         (c & 0xFF) / 255.0);
    };
    const double far = ww + wh;
    cairo_push_group(cr);
    cairo_translate(cr, h.x, h.y);
    cairo_rotate(cr, h.angle);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, -wh * 0.6, 0, 0);
    stop(sky, 0, 0x2F6DB5);
    stop(sky, 1, 0xB9D6EE);
    cairo_set_source(cr, sky);
    cairo_rectangle(cr, -far, -far, 2 * far, far);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, 0, wh * 0.5);
    stop(ground, 0, 0x8C8F6A);
    stop(ground, 1, 0x4B5A34);
    cairo_set_source(cr, ground);
    cairo_rectangle(cr, -far, 0, 2 * far, far);
    cairo_fill(cr);
    cairo_pattern_destroy(ground);
    cairo_pop_group_to_source(cr);
    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    cairo_mask_surface(cr, w->mask.get(), 0, 0);
    cairo_restore(cr);
    counted(ww, wh);
}

Surface Renderer::window_picture(const PanelWindow& window, const std::vector<const PanelWindow*>& popups,
                                 Host& host, double scale) {
    Surface s = window_picture(window, host, scale);
    if (popups.empty()) return s;
    const double width = cairo_image_surface_get_width(s.get()), height = cairo_image_surface_get_height(s.get());
    int ww, wh;
    window_size(window, host, &ww, &wh);
    cairo_t* cr = cairo_create(s.get());
    for (const PanelWindow* p : popups) {
        int pw, ph;
        window_size(*p, host, &pw, &ph);
        if (pw <= 0 || ph <= 0) continue;
        const rules::Place at = rules::popup_place(p->screen_x, p->screen_y, p->screen_width, p->screen_height, pw,
                                                   ph, width, height, width / ww);
        if (at.width < 1 || at.height < 1) continue;
        cairo_save(cr);
        cairo_rectangle(cr, at.x, at.y, at.width, at.height);
        cairo_clip(cr);
        cairo_translate(cr, at.x, at.y);
        cairo_scale(cr, at.width / pw, at.height / ph);
        draw_window(cr, *p, host);
        cairo_restore(cr);
        // The pop-up's frame.
        cairo_set_source_rgb(cr, 0.04, 0.045, 0.05);
        cairo_set_line_width(cr, 2);
        cairo_rectangle(cr, at.x - 1, at.y - 1, at.width + 2, at.height + 2);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    return s;
}

}  // namespace kestrel
