// The simulator's own motion for the navigation radios: the aircraft moves
// over the ground from its heading and speed, and each radio follows the
// station its frequency tunes, among a few fixed stations near the demo's
// field.
//
// The arithmetic uses only operations that IEEE 754 rounds exactly (add,
// multiply, divide, square root, remainder, floor): the trigonometry below is
// our own, so that the Linux and Windows hosts compute the same bits and
// their transcripts stay identical.
#include <math.h>

#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {

// Variables the model reads.
constexpr uint32_t NAV1_FREQUENCY = 0x18;  // binary-coded decimal, hundreds digit 1 implied
constexpr uint32_t NAV2_FREQUENCY = 0x1B;
// Variables it writes.
// The model's own memory: the tick counter and frame of its last step.
constexpr uint32_t LAST_TICK = 0x8140;
constexpr uint32_t LAST_FRAME = 0x8141;

constexpr double MERIDIAN = 40007000;             // metres around the earth through the poles
constexpr double TURN_UNITS = 281474976710656.0;  // 2^48
constexpr double METRES_PER_NM = 1852;
constexpr double METRES_PER_FOOT = 0.3048;
constexpr double SECONDS_PER_TICK = 1.0 / TICKS_PER_SECOND;
constexpr double MAX_TICKS = TICKS_PER_SECOND * 60;  // a longer gap is the clock jumping, not flight
constexpr double MAX_LATITUDE = 89;  // the flat-earth steps below hold away from the poles
constexpr double PARKED = 90;        // a bearing without a station: across the card
constexpr double PI = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Trigonometry in degrees

// sin of x radians, |x| <= pi/4, by its Taylor series (error below 1e-14).
double sin_small(double x) {
    const double x2 = x * x;
    double s = 1.0 / 6227020800.0;  // 1/13!
    for (double k : {-39916800.0, 362880.0, -5040.0, 120.0, -6.0}) s = 1.0 / k + x2 * s;
    return x + x * x2 * s;
}

double cos_small(double x) {
    const double x2 = x * x;
    double s = 1.0 / 87178291200.0;  // 1/14!
    for (double k : {-479001600.0, 3628800.0, -40320.0, 720.0, -24.0, 2.0}) s = 1.0 / k + x2 * s;
    return 1 - x2 * s;
}

double sin_degrees(double d) {
    if (!isfinite(d)) return 0;
    double r = fmod(d, 360);
    if (r < 0) r += 360;
    const double quadrant = floor((r + 45) / 90);
    const double t = (r - quadrant * 90) * (PI / 180);
    switch (static_cast<int>(quadrant) % 4) {
    case 0: return sin_small(t);
    case 1: return cos_small(t);
    case 2: return -sin_small(t);
    default: return -cos_small(t);
    }
}

double cos_degrees(double d) { return sin_degrees(d + 90); }

// atan of t in degrees, 0 <= t <= 1: 30 degrees off above tan 15, then the
// series on what is left (|u| below 0.27).
double atan_degrees(double t) {
    constexpr double SQRT3 = 1.7320508075688772;
    double base = 0;
    if (t > 0.2679491924311227) {
        t = (t * SQRT3 - 1) / (SQRT3 + t);
        base = 30;
    }
    const double t2 = t * t;
    double s = 0;
    for (int n = 23; n >= 3; n -= 2) s = ((n / 2) % 2 ? -1.0 : 1.0) / n + t2 * s;
    return base + (t + t * t2 * s) * (180 / PI);
}

// The direction of (east, north), clockwise from north, 0 to 360.
double direction(double east, double north) {
    const double e = fabs(east), n = fabs(north);
    if (e == 0 && n == 0) return 0;
    double a = e <= n ? atan_degrees(e / n) : 90 - atan_degrees(n / e);  // 0 to 90
    if (north < 0) a = 180 - a;
    if (east < 0) a = 360 - a;
    return a >= 360 ? a - 360 : a;
}

// ---------------------------------------------------------------------------
// Stations

enum class Band { Nav, Adf };

struct Station {
    const char* ident;
    Band band;
    uint32_t frequency;    // Nav: the radio's word (0x1130 is 113.30); Adf: tenths of kHz
    double north, east;    // nautical miles from the field
    bool dme;
};

// The demo's field (elevation 400 feet) and its stations. The flight takes
// off to the west, turns south and lands on the south field's runway 18.
constexpr double FIELD_LATITUDE = 45 + 35 / 60.0, FIELD_LONGITUDE = 4 + 50 / 60.0;  // 45 35' N, 4 50' E
constexpr double FIELD_ELEVATION = 400;  // feet, every station's too

constexpr Station STATIONS[] = {
    {"KES", Band::Nav, 0x1330, -7.0, -6.0, true},   // VOR/DME south-west of the field
    {"NRT", Band::Nav, 0x1680, 9.0, -8.0, true},    // VOR/DME north-west
    {"IKS", Band::Nav, 0x1030, -4.3, -3.6, true},   // ILS/DME of the south field, runway 18
    {"KR", Band::Adf, 3750, 0.2, 2.5, false},       // NDB east of the field, 375.0 kHz
    {"SW", Band::Adf, 3365, -1.2, -3.55, false},    // NDB on the south field's approach, 336.5 kHz
};

// A binary-coded-decimal variable's word; 0 when the variable holds no such word.
uint32_t bcd_word(const Sim& sim, uint32_t id) {
    const Sim::Var* v = sim.find(id);
    return v && v->is_bcd ? v->bcd : 0;
}

bool decimal(uint32_t word, int nibbles) {
    for (int k = 0; k < nibbles; ++k)
        if (((word >> (4 * k)) & 0xF) > 9) return false;
    return true;
}

// The direction finder's frequency in tenths of kHz, or 0 when a digit is not decimal.
uint32_t adf_tenths(uint32_t f, uint32_t extension) {
    if (!decimal(f, 3) || !decimal(extension, 3)) return 0;
    return ((extension >> 8) & 0xF) * 10000 + ((f >> 8) & 0xF) * 1000 + ((f >> 4) & 0xF) * 100 +
           (f & 0xF) * 10 + (extension & 0xF);
}

const Station* tuned(Band band, uint32_t frequency) {
    if (frequency == 0) return nullptr;
    for (const Station& s : STATIONS)
        if (s.band == band && s.frequency == frequency) return &s;
    return nullptr;
}

// Positions in metres north and east of the field, on a sphere: a degree of
// latitude is MERIDIAN / 360 metres, a degree of longitude that times the
// cosine of the latitude.
constexpr double METRES_PER_DEGREE = MERIDIAN / 360;

// A value the motion can use, or 0.
double usable(double v) { return isfinite(v) ? v : 0; }

struct Place {
    double north, east;  // metres from the field
};

Place aircraft_place(const Sim& sim) {
    const double latitude = usable(sim.get(LATITUDE)) / METRES_PER_DEGREE;
    const double longitude = usable(sim.get(LONGITUDE)) / TURN_UNITS * 360;
    return {(latitude - FIELD_LATITUDE) * METRES_PER_DEGREE,
            (longitude - FIELD_LONGITUDE) * METRES_PER_DEGREE * cos_degrees(FIELD_LATITUDE)};
}

// Bearing (relative to the nose) and distance of a station, or the parked
// bearing and 0 without one. DME reads the slant range.
void follow(Sim& sim, const Station* s, const Place& here, double heading, uint32_t bearing_var,
            uint32_t distance_var) {
    if (!s) {
        sim.set(bearing_var, PARKED);
        if (distance_var) sim.set(distance_var, 0);
        return;
    }
    const double north = s->north * METRES_PER_NM - here.north;
    const double east = s->east * METRES_PER_NM - here.east;
    double relative = direction(east, north) - heading;
    relative = fmod(relative, 360);
    if (relative < 0) relative += 360;
    sim.set(bearing_var, relative);
    if (!distance_var) return;
    double height = (sim.get(ALTITUDE) - FIELD_ELEVATION) * METRES_PER_FOOT;
    if (!isfinite(height)) height = 0;
    const double range = s->dme ? sqrt(north * north + east * east + height * height) : 0;
    sim.set(distance_var, range / METRES_PER_NM);
}

void navigation_step(Sim& sim) {
    // Where the aircraft is: on the field's runway until something says otherwise.
    if (!sim.find(LATITUDE)) sim.set(LATITUDE, FIELD_LATITUDE * METRES_PER_DEGREE);
    if (!sim.find(LONGITUDE)) sim.set(LONGITUDE, FIELD_LONGITUDE / 360 * TURN_UNITS);

    // Time since the last step, in ticks: only from one frame to the next.
    const double ticks = sim.get(VAR_TICKS);
    const bool consecutive = sim.find(LAST_FRAME) && sim.get(LAST_FRAME) + 1 == double(sim.frame());
    double elapsed = consecutive ? ticks - sim.get(LAST_TICK) : 0;
    if (!(elapsed > 0 && elapsed <= MAX_TICKS)) elapsed = 0;
    sim.set(LAST_TICK, ticks);
    sim.set(LAST_FRAME, double(sim.frame()));

    const double heading = usable(sim.get(HEADING));
    const bool steered = isfinite(sim.get(HEADING));
    double knots = usable(sim.get(AIRSPEED));
    if (knots < 0) knots = 0;
    if (knots > 5000) knots = 5000;
    sim.set(GROUND_SPEED, knots);

    const double metres = knots * (METRES_PER_NM / 3600) * elapsed * SECONDS_PER_TICK;
    if (metres > 0 && steered) {
        double latitude = usable(sim.get(LATITUDE)) / METRES_PER_DEGREE;
        double turns = usable(sim.get(LONGITUDE)) / TURN_UNITS;
        latitude += metres * cos_degrees(heading) / METRES_PER_DEGREE;
        if (latitude > MAX_LATITUDE) latitude = MAX_LATITUDE;
        if (latitude < -MAX_LATITUDE) latitude = -MAX_LATITUDE;
        turns += metres * sin_degrees(heading) / (MERIDIAN * cos_degrees(latitude));
        turns -= floor(turns + 0.5);  // -1/2 to 1/2 of a turn: west to east of the first meridian
        sim.set(LATITUDE, latitude * METRES_PER_DEGREE);
        sim.set(LONGITUDE, turns * TURN_UNITS);
    }

    const Place here = aircraft_place(sim);
    follow(sim, tuned(Band::Nav, bcd_word(sim, NAV1_FREQUENCY)), here, heading, NAV1_BEARING, NAV1_DISTANCE);
    follow(sim, tuned(Band::Nav, bcd_word(sim, NAV2_FREQUENCY)), here, heading, NAV2_BEARING, NAV2_DISTANCE);
    follow(sim, tuned(Band::Adf, adf_tenths(bcd_word(sim, ADF_FREQUENCY), bcd_word(sim, ADF_EXTENSION))),
           here, heading, ADF_BEARING, 0);
}

}  // namespace

extern const SimArea navigation_area = {
    "navigation",
    {},
    {
        {"navigation",
         "the aircraft moves from heading 0x51 and speed 0x3D (0x47, 0x48, ground speed 0x35B); "
         "NAV 1, NAV 2 and ADF follow the stations their frequencies tune (bearings 0x226, 0x3B, "
         "0x27 relative to the nose, parked at 90 without a station; DME 0x1F, 0x23)",
         navigation_step},
    },
};

}  // namespace kestrel
