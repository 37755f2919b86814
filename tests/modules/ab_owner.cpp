// A gauge for tests that stands in for the autobrake panel: it registers the
// shared variable "ab" and withdraws it on pre-kill, and does nothing else.
#include "frame/gauge.h"

static int32_t ab;

static constinit Chain chain{
    &gauge_header,
    image(0x100, {0, 0}),
};

static MouseRect mouse[] = {
    mouse_start(),
    mouse_end_area(),
    mouse_end_list(),
};

constinit GaugeHeader gauge_header = gauge("KESTREL", chain.root(), mouse);

static void install() { host()->register_var_by_name(&ab, VAR_TYPE_UINT32, "ab"); }
static void first_draw() { ab = 0; }
static void kill() { host()->unregister_var_by_name("ab"); }

const GaugeOps gauge_ops = {
    .install = install,
    .first_draw = first_draw,
    .kill = kill,
};
