// The simulator variables the gauges read, by id: each id is named once
// here, and the gauges use the names, as the ids of their ModuleVar records
// and as the sources of their elements. Units and ranges as the simulator
// reports them.
#pragma once

#include <stdint.h>

// Time
constexpr uint32_t TICKS = 0x1;          // tick counter, 18 a second
constexpr uint32_t CLOCK_HOURS = 0x3;
constexpr uint32_t CLOCK_MINUTES = 0x4;
constexpr uint32_t CLOCK_SECONDS = 0x5;

// Flight
constexpr uint32_t GROUND_ELEVATION = 0x2;   // 1/256 metre
constexpr uint32_t AIRSPEED = 0x3D;          // indicated, knots
constexpr uint32_t MACH_RAW = 0x40;          // Mach x 65536 / 3.2
constexpr uint32_t OVERSPEED = 0x44;         // 0 off, 1 on
constexpr uint32_t SIDESLIP_BALL = 0x45;     // 127 is full deflection to the right
constexpr uint32_t LATITUDE = 0x47;          // metres along the meridian
constexpr uint32_t LONGITUDE = 0x48;         // 2^-48 of a turn
constexpr uint32_t ALTITUDE = 0x4A;          // feet
constexpr uint32_t BARO_MILLIBARS = 0x4B;
constexpr uint32_t BARO_INCHES = 0x4C;       // inches of mercury
constexpr uint32_t PITCH = 0x4E;             // degrees, positive nose down
constexpr uint32_t BANK = 0x50;              // degrees, positive left wing down
constexpr uint32_t HEADING = 0x51;           // degrees
constexpr uint32_t OUTSIDE_AIR = 0x155;      // degrees Celsius
constexpr uint32_t WIND_SPEED = 0x157;       // knots
constexpr uint32_t WIND_DIRECTION = 0x158;   // degrees, where the wind comes from
constexpr uint32_t VERTICAL_SPEED = 0x22C;   // feet per second
constexpr uint32_t ALTITUDE_METRES = 0x33D;
constexpr uint32_t GROUND_SPEED = 0x35B;     // knots
// 1 on the landing roll (the autobrake disarms itself), read with the level
// below; the flight display freezes its attitude while it is 1 and
// GENERATOR_1 is 0.
constexpr uint32_t ROLLOUT_FLAG = 0x3C;
constexpr uint32_t ROLLOUT_LEVEL = 0x22E;

// Radios and navigation. Frequencies in binary-coded decimal: four digits
// after the leading 1 (0x2345 is 123.45); the ADF's hundreds, tens and units
// in bits 8-0.
constexpr uint32_t ADF_FREQUENCY = 0x10;     // hundreds to units
constexpr uint32_t ADF_EXTENSION = 0x12;     // thousands digit in bits 8-11, tenths in 0-3
constexpr uint32_t COM1_ACTIVE = 0x17;
constexpr uint32_t NAV1_ACTIVE = 0x18;       // 0x1080 is 110.80
constexpr uint32_t NAV2_ACTIVE = 0x1B;
constexpr uint32_t NAV1_DISTANCE = 0x1F;     // nautical miles
constexpr uint32_t NAV2_DISTANCE = 0x23;
constexpr uint32_t TRANSPONDER_CODE = 0x26;  // four digits, the leftmost in bits 12-15
constexpr uint32_t ADF_BEARING = 0x27;       // degrees, relative to the aircraft
constexpr uint32_t LOCALIZER = 0x28;         // course deviation, -127 to 127
constexpr uint32_t GLIDESLOPE = 0x29;
constexpr uint32_t DEVIATION_ENABLE = 0x2C;  // 1: localizer and glideslope shown
constexpr uint32_t NAV2_BEARING = 0x3B;      // degrees, relative to the aircraft
constexpr uint32_t NAV1_BEARING = 0x226;
constexpr uint32_t COM1_STANDBY = 0x269;
constexpr uint32_t WAYPOINT_LATITUDE = 0x348;   // metres along the meridian
constexpr uint32_t WAYPOINT_LONGITUDE = 0x349;  // 1/11930464 degree
constexpr uint32_t NAV_SOURCE = 0x350;       // 0 NAV, 1 GPS
constexpr uint32_t SELECTED_COURSE = 0x356;  // degrees
constexpr uint32_t WAYPOINT_BEARING = 0x358; // degrees
constexpr uint32_t WAYPOINT_DISTANCE = 0x35C;  // nautical miles
constexpr uint32_t COM2_ACTIVE = 0x366;
constexpr uint32_t COM2_STANDBY = 0x367;
constexpr uint32_t NAV1_STANDBY = 0x368;
constexpr uint32_t NAV2_STANDBY = 0x369;

// Autoflight: the modes are 1 while engaged.
constexpr uint32_t AUTOPILOT = 0x67;
constexpr uint32_t LEVEL_MODE = 0x68;
constexpr uint32_t NAV_HOLD = 0x69;
constexpr uint32_t HEADING_HOLD = 0x6A;
constexpr uint32_t SELECTED_HEADING = 0x6B;  // degrees
constexpr uint32_t ALTITUDE_HOLD = 0x6C;
constexpr uint32_t SELECTED_ALTITUDE = 0x6D; // feet
constexpr uint32_t APPROACH_HOLD = 0x70;
constexpr uint32_t BACK_COURSE = 0x71;
constexpr uint32_t SPEED_HOLD = 0x73;
constexpr uint32_t SELECTED_SPEED = 0x74;    // knots
constexpr uint32_t MACH_HOLD = 0x75;
constexpr uint32_t SELECTED_MACH = 0x76;
constexpr uint32_t SELECTED_VERTICAL_SPEED = 0x78;  // feet a minute
constexpr uint32_t AUTOTHROTTLE = 0x7B;
constexpr uint32_t GO_AROUND = 0x7C;
constexpr uint32_t DIRECTOR = 0x318;         // 1: flight director on
constexpr uint32_t DIRECTOR_PITCH = 0x319;   // degrees
constexpr uint32_t DIRECTOR_BANK = 0x31A;    // degrees

// Engines: 1 and 2 are the left and the right engine.
constexpr uint32_t THRUST_1 = 0x80;          // 0 to 16383
constexpr uint32_t THRUST_2 = 0xA3;
constexpr uint32_t OIL_TEMPERATURE_1 = 0x231;  // degrees Rankine
constexpr uint32_t OIL_TEMPERATURE_2 = 0x23B;
constexpr uint32_t STARTER_1 = 0x233;        // 1: the starter runs
constexpr uint32_t STARTER_2 = 0x23D;
constexpr uint32_t GENERATOR_1 = 0x236;      // 1: on
constexpr uint32_t GENERATOR_2 = 0x240;
constexpr uint32_t EGT_1 = 0x237;            // degrees Rankine
constexpr uint32_t EGT_2 = 0x241;
constexpr uint32_t N1_1 = 0x270;             // percent
constexpr uint32_t N1_2 = 0x283;
constexpr uint32_t N2_1 = 0x271;             // percent
constexpr uint32_t N2_2 = 0x284;
constexpr uint32_t FUEL_FLOW_1 = 0x27E;      // pounds per hour
constexpr uint32_t FUEL_FLOW_2 = 0x291;
constexpr uint32_t REVERSE_1 = 0x281;        // reverse lever
constexpr uint32_t REVERSE_2 = 0x294;
constexpr uint32_t VIBRATION_1 = 0x282;      // raw value
constexpr uint32_t VIBRATION_2 = 0x295;
constexpr uint32_t FUEL_ON_BOARD = 0x317;    // pounds
constexpr uint32_t ENGINE_MASTER_1 = 0x37F;
constexpr uint32_t ENGINE_MASTER_2 = 0x380;

// Controls
constexpr uint32_t PARKING_BRAKE = 0x143;    // above 0: set
constexpr uint32_t SPOILERS_ARMED = 0x144;   // 0 or 1; above 0 on the memo
constexpr uint32_t SPOILER_HANDLE = 0x145;   // 0 retracted to 16384 full
constexpr uint32_t FLAP_HANDLE = 0x148;      // 0 to 16384, six positions 3276.8 apart
constexpr uint32_t GEAR_HANDLE = 0x14B;      // 0 up to 16383 down
constexpr uint32_t GEAR_NOSE = 0x14C;        // the legs, 0 up to 16383 down
constexpr uint32_t GEAR_LEFT = 0x14D;
constexpr uint32_t GEAR_RIGHT = 0x14E;
constexpr uint32_t PITCH_TRIM = 0x30F;

// Systems
constexpr uint32_t PANEL_LIGHTS = 0xA;
constexpr uint32_t STROBE_LIGHTS = 0xB;
constexpr uint32_t PROBE_HEAT = 0xD;         // probe and window heat, 1: on
constexpr uint32_t LANDING_LIGHTS = 0xE;
constexpr uint32_t CHRONO_WINDOW = 0x150;    // the chronometer's two-digit window
constexpr uint32_t BATTERY_MASTER = 0x16C;   // 1: on
constexpr uint32_t BEACON_LIGHT = 0x170;
constexpr uint32_t TAXI_LIGHT = 0x171;
constexpr uint32_t NAV_LOGO_LIGHTS = 0x26B;
constexpr uint32_t WING_LIGHTS = 0x26D;
constexpr uint32_t BATTERY_VALUE = 0x2F0;    // shown under BAT 1
constexpr uint32_t ENG1_ANTI_ICE = 0x373;    // 1: on
constexpr uint32_t ENG2_ANTI_ICE = 0x374;
