#include "host/render/window_picture.h"

#include <math.h>
#include <string.h>

#include <algorithm>

#include "host/panel/placement.h"

namespace kestrel {

WindowPicture::WindowPicture(Renderer& renderer, const PanelWindow& window, Host& host, double scale)
    : renderer_(renderer), window_(window), host_(host), scale_(usable_scale(scale)) {
    int w, h;
    renderer_.window_size(window_, host_, &w, &h);
    double s = scale_;
    fit_picture(w, h, &s, &s);
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
    fit_picture(w, h, &s, &s);
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
            const Placement p = place_entry(entry, nw, nh);
            region.push_back(device_box(cr, p.x, p.y, p.width, p.height));
        }
        shown.gauge = g;
        shown.state = g ? g->state : std::vector<ElementState>();
        shown.width = shown.height = 0;
        if (g) renderer_.natural_size(*g, &shown.width, &shown.height);
    }
    // The outside view through the windshield, when the attitude moved.
    double ox, oy, ow, oh;
    std::pair<double, double> attitude;
    if (renderer_.outside_view(window_, host_, &ox, &oy, &ow, &oh, &attitude)) {
        if (!all && memcmp(&attitude, &attitude_, sizeof attitude) != 0) region.push_back(device_box(cr, ox, oy, ow, oh));
        attitude_ = attitude;
    }
    last_drawn_ = all ? std::vector<Renderer::Box>{{0, 0, width_, height_}} : region;
    if (all) {
        // On a clear picture, as a whole new drawing starts: pixels that the
        // window covers only in part (its edge at some scales) must not keep
        // what was there.
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_restore(cr);
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

}  // namespace kestrel
