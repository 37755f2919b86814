// The renderer: draws loaded gauges and whole panel windows with cairo, by
// the rules of render_rules.h. Bitmaps come from the artwork folder,
// <artwork>/<module>/<ID>.bmp with the resource id in four or more
// hexadecimal digits ("Artwork/flap_lever/1100.bmp").
#pragma once

#include <cairo.h>
#include <stdint.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/panel/bitmap.h"
#include "host/host.h"
#include "host/panel/panel_config.h"
#include "host/panel/placement.h"
#include "host/render/rules.h"

namespace kestrel {

// A cairo image surface owned by its holder.
struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// An ARGB32 surface of the size, cleared to transparent.
Surface new_surface(int width, int height);

// "<dir>/<module>/<ID>.bmp"
std::string artwork_path(const std::string& dir, const std::string& module, uint32_t id);

class Renderer {
public:
    Renderer(std::string artwork_dir, const rules::Lighting& light);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void set_lighting(const rules::Lighting& light);
    // Whether a window shows where its missing gauges would go: a faint
    // outline with the module's name, of the entry's size (64 pixels a side
    // where it gives none).
    void set_placeholders(bool shown);
    // The panel's tints by day and night ([Color]); without them, the
    // lighting's grey.
    // Reads the module's bitmaps from the artwork folder again when next
    // drawn (after the module was rebuilt).
    void forget_bitmaps(const std::string& module);
    void set_colors(const PanelColors& colors);
    const rules::Lighting& lighting() const { return light_; }
    bool placeholders() const { return placeholders_; }
    // Changes whenever the lighting, the tints or the placeholders change:
    // every pixel may then differ.
    uint64_t look() const { return look_; }

    // The gauge's own size: its background bitmap's. False (and a note) when
    // that bitmap is missing.
    bool natural_size(const Gauge& gauge, int* width, int* height);
    // natural_size as placements take it.
    GaugeSize gauge_size() {
        return [this](const Gauge& g, int* w, int* h) { return natural_size(g, w, h); };
    }

    // Draws the gauge's elements in chain order, in the context's current
    // coordinates (gauge background pixels), clipped to the background.
    void draw_gauge(cairo_t* cr, const Gauge& gauge);
    // The gauge alone at `scale`, on a transparent surface.
    Surface gauge_picture(const Gauge& gauge, double scale = 1.0);

    // The window's size in its own pixels: size_mm, or the extent of its
    // gauges when it gives none.
    void window_size(const PanelWindow& window, Host& host, int* width, int* height);
    // Draws one panel window: its background colour and bitmap, then each
    // placed gauge that is loaded in `host`, in entry order, at the place and
    // size the entry gives. `scale` 1 draws the window's pixels 1:1; a
    // virtual cockpit's picture is stretched to its pixel_size.
    void draw_window(cairo_t* cr, const PanelWindow& window, Host& host);
    Surface window_picture(const PanelWindow& window, Host& host, double scale = 1.0);
    // The main window's picture with pop-up windows drawn over it, each at
    // its place on the screen (rules::popup_place) with a thin frame.
    Surface window_picture(const PanelWindow& window, const std::vector<const PanelWindow*>& popups, Host& host,
                           double scale = 1.0);

    // The outside world through the windshield: the pure black of a window's
    // bitmap that joins its top edge (rules::windshield) shows a sky over
    // ground that follows the simulator's pitch (0x4E) and bank (0x50).
    // False when the window has no windshield; else its box in the window's
    // own pixels, and what the view shows now (changes as the attitude does).
    bool outside_view(const PanelWindow& window, Host& host, double* x, double* y, double* width, double* height,
                      std::pair<double, double>* attitude);
    // draw_window inside `region` only, rectangles in the target's own
    // pixels (device space), on an image surface: the background there, and
    // the entries that reach into it, each drawn whole (with the background
    // under it, and so the entries that reach into its place). Pixels come
    // out as draw_window makes them on a clear target.
    struct Box {
        int x, y, width, height;
    };
    void draw_window_region(cairo_t* cr, const PanelWindow& window, Host& host, const std::vector<Box>& region);

    // What a drawing painted, layer by layer (the window's background, each
    // bitmap, each text box), in the layer's own pixels: the benchmarks
    // compare the drawing's cost with copying that many pixels. Null stops
    // the counting.
    struct Layer {
        int width, height;
    };
    void count_layers(std::vector<Layer>* layers) { layers_ = layers; }

    // What the renderer found wrong since the last call (a missing bitmap, an
    // icon frame out of range ...), each told once: a bitmap once, an
    // element once.
    std::vector<std::string> take_notes();

private:
    struct Bitmap;
    struct Font;
    struct BackgroundLayer;
    // A window's windshield, found once per bitmap: an alpha mask of the
    // bitmap's size (null: no windshield) and its box in bitmap pixels.
    struct Windshield {
        std::shared_ptr<const Pixels> pixels;  // held, so that the key stays this bitmap's
        Surface mask;
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    const Windshield* windshield_of(const PanelWindow& window);
    void draw_outside(cairo_t* cr, const PanelWindow& window, int width, int height);
    struct TextInk;
    void make_ink(TextInk& ink, int width, int height, const std::function<void(cairo_t*)>& show);
    cairo_surface_t* background_layer(cairo_t* cr, const PanelWindow& window, int width, int height);
    Bitmap* bitmap(const std::string& module, uint32_t id, const char* role);
    cairo_surface_t* lit(Bitmap& b, uint32_t tint);
    const rules::Occupancy& occupancy(Bitmap& b, int cell);
    cairo_surface_t* mask_of(Bitmap& b);
    bool sparse(Bitmap& b);
    // Paints the bitmap tinted through `placement` (bitmap pixels to gauge
    // pixels), seen through `mask` at (mask_x, mask_y) when one is given.
    void paint_bitmap(cairo_t* cr, Bitmap& image, uint32_t tint, const rules::Affine& placement,
                      Bitmap* mask = nullptr, int mask_x = 0, int mask_y = 0);
    uint32_t tint(uint32_t image_flags) const;
    Font& font(const TextElement& e);
    // Keeps `message` for take_notes() unless one with the same key (by
    // default the message itself) was kept before.
    void note(const std::string& message, const std::string& key = "");
    void draw_element(cairo_t* cr, const Gauge& gauge, size_t index);
    void draw_text(cairo_t* cr, const Gauge& gauge, size_t index, uint32_t tint);
    void draw_background(cairo_t* cr, const PanelWindow& window, int width, int height);
    void draw_entry(cairo_t* cr, const PanelGauge& entry, Host& host);
    void draw_placeholder(cairo_t* cr, const PanelGauge& entry, double width, double height);
    void counted(int width, int height) {
        if (layers_) layers_->push_back({width, height});
    }

    std::string dir_;
    rules::Lighting light_;
    bool placeholders_ = false;
    rules::PanelTints tints_{};
    bool has_tints_ = false;
    uint64_t look_ = 0;
    std::map<std::pair<std::string, uint32_t>, std::unique_ptr<Bitmap>> bitmaps_;
    std::map<const Pixels*, std::unique_ptr<Bitmap>> backgrounds_;  // windows' bitmaps
    std::map<const Pixels*, std::unique_ptr<Windshield>> windshields_;
    double pitch_ = 0, bank_ = 0;  // the attitude the outside view shows
    std::vector<std::unique_ptr<BackgroundLayer>> layers_cache_;    // windows' whole backgrounds
    std::map<std::pair<std::string, bool>, std::unique_ptr<Font>> fonts_;
    std::unordered_map<std::string, std::unique_ptr<TextInk>> inks_;  // texts' ink drawn 1:1, by font, size, box, text
    std::set<std::string> told_;
    std::vector<std::string> notes_;
    std::vector<Layer>* layers_ = nullptr;
};

// Shared with the kept window pictures: scales that make no picture are
// taken as 1:1; the scales (x, y) that draw a window of w x h within the
// largest picture; an entry's place on a target in device pixels, rounded
// outwards.
double usable_scale(double scale);
void fit_picture(double w, double h, double* sx, double* sy);
Renderer::Box device_box(cairo_t* cr, double x, double y, double w, double h);

}  // namespace kestrel
