// The simulator's own motion for the flight computer and position readouts.
#include <math.h>

#include "host/sim/sim.h"
#include "frame/variables.h"

namespace kestrel {

namespace {


constexpr double METRES_PER_DEGREE = 40007000.0 / 360;
constexpr double DEGREES_PER_LONGITUDE_UNIT = 360 * 0x1p-48;
constexpr double WAYPOINT_UNITS_PER_DEGREE = 11930464;
constexpr double RADIANS_PER_DEGREE = 3.14159265358979323846 / 180;

// The next waypoint: 45 deg 20.00' N, 4 deg 30.00' E, south-west of where the
// demo flight takes off.
constexpr double WAYPOINT_LAT = 45 + 20 / 60.0, WAYPOINT_LON = 4.5;

// The waypoint stays where it is; the bearing and the great-circle distance
// to it follow the present position (a nautical mile is an arc minute).
void waypoint(Sim& sim) {
    sim.set(WAYPOINT_LATITUDE, WAYPOINT_LAT * METRES_PER_DEGREE);
    sim.set(WAYPOINT_LONGITUDE, WAYPOINT_LON * WAYPOINT_UNITS_PER_DEGREE);
    const double lat1 = sim.get(LATITUDE) / METRES_PER_DEGREE * RADIANS_PER_DEGREE;
    const double lon1 = sim.get(LONGITUDE) * DEGREES_PER_LONGITUDE_UNIT * RADIANS_PER_DEGREE;
    const double lat2 = WAYPOINT_LAT * RADIANS_PER_DEGREE, lon2 = WAYPOINT_LON * RADIANS_PER_DEGREE;
    const double dlon = lon2 - lon1;
    const double bearing = atan2(sin(dlon) * cos(lat2), cos(lat1) * sin(lat2) - sin(lat1) * cos(lat2) * cos(dlon));
    const double h = pow(sin((lat2 - lat1) / 2), 2) + cos(lat1) * cos(lat2) * pow(sin(dlon / 2), 2);
    const double arc = 2 * asin(sqrt(fmin(1.0, h)));
    const double degrees = fmod(bearing / RADIANS_PER_DEGREE + 360, 360);
    sim.set(WAYPOINT_BEARING, degrees);
    sim.set(WAYPOINT_DISTANCE, arc / RADIANS_PER_DEGREE * 60);
}

}  // namespace

extern const SimArea readouts_area = {
    "readouts",
    {},
    {
        {"waypoint", "keeps the next waypoint (0x348, 0x349) fixed; bearing 0x358 and distance 0x35C to it",
         waypoint},
    },
};

}  // namespace kestrel
