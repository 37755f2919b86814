#pragma once

#include "host/render/render.h"

namespace kestrel {

// A window's picture kept from frame to frame. Each update redraws only the
// entries whose gauge shows something else than at the last update (another
// element state, or loaded or unloaded since), with the background and
// whatever else lies in their places; the rest of the picture stays. The
// pixels are those a whole new drawing would give: a gauge draws nothing
// outside its entry's place, and every place is redrawn whole, in entry order.
class WindowPicture {
public:
    WindowPicture(Renderer& renderer, const PanelWindow& window, Host& host, double scale = 1.0);
    // Brings the picture up to date; false when nothing needed drawing.
    bool update();
    // How many of the window's entries the last update drew again.
    size_t changed_entries() const { return changed_; }
    // What the last update drew, in the picture's pixels: the places of the
    // entries that changed (the whole picture when all was drawn anew).
    const std::vector<Renderer::Box>& last_drawn() const { return last_drawn_; }
    cairo_surface_t* surface() const { return surface_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    // What an entry showed at the last update.
    struct Shown {
        const Gauge* gauge = nullptr;
        std::vector<ElementState> state;
        int width = 0, height = 0;  // the gauge's own size
    };

    Renderer& renderer_;
    const PanelWindow& window_;
    Host& host_;
    double scale_;
    int width_ = 1, height_ = 1;
    Surface surface_;
    bool drawn_ = false;
    uint64_t look_ = 0;  // the renderer's look at the last update
    double drawn_scale_ = 0;
    std::vector<Shown> shown_;  // per entry of the window
    size_t changed_ = 0;
    std::pair<double, double> attitude_;  // what the outside view showed at the last update
    std::vector<Renderer::Box> last_drawn_;
};

}  // namespace kestrel
