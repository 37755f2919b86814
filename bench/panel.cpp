#include "bench/panel.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>

namespace kestrel::bench {

DemoPanel::DemoPanel()
    : host(HostOptions{KESTREL_GAUGE_DIR, KESTREL_LIBRARY_DIR}),
      config(read_panel_config(SOURCE_DIR "/panels/development/panel.cfg")),
      renderer(KESTREL_ARTWORK_DIR, rules::DUSK) {
    load_panel(host, config, KESTREL_GAUGE_DIR);
    host.frame();  // the first-draw resets
    host.registry.set("power", 1);
    host.sim.set(0x148, 2 * 16384.0 / 5);
    host.frame();
    host.events.clear();
}

size_t DemoPanel::text_count(const Gauge& gauge) {
    size_t n = 0;
    for (size_t i = 0; i < gauge.size(); ++i) n += gauge.element(i)->kind == KIND_TEXT;
    return n;
}

size_t DemoPanel::text_count() const {
    size_t n = 0;
    for (const auto& g : host.gauges()) n += text_count(*g);
    return n;
}

void module_frame(Gauge& gauge) {
    GaugeHeader* header = gauge.layout.header;
    header->callback(header, SERVICE_PRE_UPDATE, nullptr);
    for (ElementHeader* e : gauge.layout.elements) {
        switch (e->kind) {
        case KIND_NEEDLE: {
            auto* n = reinterpret_cast<NeedleElement*>(e);
            if (n->callback) n->callback(n);
            break;
        }
        case KIND_TEXT: {
            auto* t = reinterpret_cast<TextElement*>(e);
            if (t->callback) t->callback(t);
            break;
        }
        case KIND_SLIDER: {
            auto* s = reinterpret_cast<SliderElement*>(e);
            if (s->callback_x) s->callback_x(s);
            if (s->callback_y) s->callback_y(s);
            break;
        }
        case KIND_ICON: {
            auto* i = reinterpret_cast<IconElement*>(e);
            if (i->callback) i->callback(i);
            break;
        }
        case KIND_MOVING: {
            auto* m = reinterpret_cast<MovingElement*>(e);
            if (m->callback_x) m->callback_x(m);
            if (m->callback_y) m->callback_y(m);
            break;
        }
        case KIND_SPRITE: {
            auto* s = reinterpret_cast<SpriteElement*>(e);
            if (s->callback_x) s->callback_x(s);
            if (s->callback_y) s->callback_y(s);
            if (s->callback_rotation) s->callback_rotation(s);
            break;
        }
        default:
            break;
        }
    }
    header->callback(header, SERVICE_PRE_DRAW, nullptr);
}

void text_callbacks(Gauge& gauge) {
    for (ElementHeader* e : gauge.layout.elements) {
        if (e->kind != KIND_TEXT) continue;
        auto* t = reinterpret_cast<TextElement*>(e);
        if (t->callback) t->callback(t);
    }
}

void trim_events(Host& host) {
    if (host.events.size() > 4096) host.events.clear();
}

uint64_t pixel_count(const Layers& layers) {
    uint64_t n = 0;
    for (const Renderer::Layer& l : layers) n += uint64_t(l.width) * uint64_t(l.height);
    return n;
}

LayerCopy::LayerCopy(const Layers& layers, int panel_width, int panel_height)
    : layers_(layers) {
    const size_t width = size_t(std::max(panel_width, 1)), height = size_t(std::max(panel_height, 1));
    int widest = 1, tallest = 1;
    for (const Renderer::Layer& l : layers_) {
        widest = std::max(widest, l.width);
        tallest = std::max(tallest, l.height);
    }
    source_.assign(size_t(widest) * size_t(tallest), 0x80402010u);
    target_.assign(width * height, 0);
}

// The destination is filled as a ring: each row of each layer is copied to
// where the last one ended, so every pixel is copied once, a row at a time.
void LayerCopy::run() {
    const size_t size = target_.size();
    size_t at = 0;
    for (const Renderer::Layer& l : layers_) {
        const size_t width = size_t(l.width);
        for (int row = 0; row < l.height; ++row) {
            const uint32_t* from = source_.data() + size_t(row) * width;
            size_t done = 0;
            while (done < width) {
                const size_t n = std::min(width - done, size - at);
                memcpy(target_.data() + at, from + done, n * sizeof(uint32_t));
                done += n;
                at = (at + n) % size;
            }
        }
    }
}

}  // namespace kestrel::bench
