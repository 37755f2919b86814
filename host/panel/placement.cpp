#include "host/panel/placement.h"

#include <math.h>
#include <strings.h>

#include "host/util.h"

namespace kestrel {

void Placement::to_gauge(double px, double py, int32_t* gx, int32_t* gy) const {
    const double sx = has_gauge() && width > 0 ? natural_width / width : 1;
    const double sy = has_gauge() && height > 0 ? natural_height / height : 1;
    *gx = static_cast<int32_t>(floor((px - x) * sx));
    *gy = static_cast<int32_t>(floor((py - y) * sy));
}

Placement place_entry(const PanelGauge& entry, int nw, int nh) {
    Placement p;
    p.x = entry.x;
    p.y = entry.y;
    if (nw <= 0 || nh <= 0) {
        p.width = entry.width > 0 ? entry.width : PLACEHOLDER_SIDE;
        p.height = entry.height > 0 ? entry.height : entry.width > 0 ? entry.width : PLACEHOLDER_SIDE;
        return p;
    }
    p.natural_width = nw;
    p.natural_height = nh;
    p.width = entry.width > 0 ? entry.width : nw;
    p.height = entry.height > 0 ? entry.height : (entry.width > 0 ? double(entry.width) * nh / nw : nh);
    return p;
}

Gauge* placed_gauge(Host& host, const PanelGauge& entry, std::string* why) {
    Gauge* g = host.find(entry.module);
    if (!g) return nullptr;
    const char* name = g->layout.header ? g->layout.header->name : nullptr;
    if (!entry.gauge.empty() && (!name || strcasecmp(name, entry.gauge.c_str()) != 0)) {
        if (why)
            *why = format("module %s has no gauge named %s (its gauge is %s); skipped", entry.module.c_str(),
                          entry.gauge.c_str(), name ? name : "unnamed");
        return nullptr;
    }
    return g;
}

Placement place_entry(const PanelGauge& entry, Host& host, const GaugeSize& size) {
    int nw = 0, nh = 0;
    if (Gauge* g = placed_gauge(host, entry); !g || !size(*g, &nw, &nh)) nw = nh = 0;
    return place_entry(entry, nw, nh);
}

bool hit_test(const PanelWindow& window, Host& host, const GaugeSize& size, double x, double y, Hit* hit) {
    const std::vector<PanelGauge>& entries = window.gauges;
    // The last entry drawn is the one on top.
    for (size_t i = entries.size(); i-- > 0;) {
        Gauge* g = placed_gauge(host, entries[i]);
        int nw = 0, nh = 0;
        if (!g || !size(*g, &nw, &nh)) continue;
        const Placement p = place_entry(entries[i], nw, nh);
        if (!(p.width > 0 && p.height > 0) || !p.contains(x, y)) continue;
        hit->entry = i;
        hit->gauge = g;
        p.to_gauge(x, y, &hit->x, &hit->y);
        hit->area = host.area_at(*g, hit->x, hit->y);
        return true;
    }
    return false;
}

}  // namespace kestrel
