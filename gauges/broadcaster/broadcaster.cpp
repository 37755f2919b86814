// The broadcaster: owns and publishes nine of the panel's shared variables, so
// that gauges in separate modules can read and write them by name. It draws a
// small plain bitmap and has no clickable area.
#include "frame/gauge.h"

// The storage of the shared variables, zero at load.
static int32_t adfvor, apu, nosmoking, seatbelts, display, eicas, rose, power, sfd;

struct Published {
    int32_t* storage;
    const char* name;
};

// Registration, withdrawal and the first-draw reset all go in this order.
static const Published published[] = {
    {&adfvor, "adfvor"}, {&apu, "apu"},     {&nosmoking, "nosmoking"},
    {&seatbelts, "seatbelts"}, {&display, "display"}, {&eicas, "eicas"},
    {&rose, "rose"},     {&power, "power"}, {&sfd, "sfd"},
};

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),  // 44x36
};

static void register_all() {
    for (const Published& p : published)
        host()->register_var_by_name(p.storage, VAR_TYPE_UINT32, p.name);
}

static void clear_all() {
    for (const Published& p : published) *p.storage = 0;
}

static void withdraw_all() {
    for (const Published& p : published) host()->unregister_var_by_name(p.name);
}

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), no_mouse_areas);

const GaugeOps gauge_ops = {
    .install = register_all,
    .first_draw = clear_all,
    .kill = withdraw_all,
};
