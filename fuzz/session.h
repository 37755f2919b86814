// The input of the module fuzz target: a session with the development host,
// as a stream of operations. Each operation is an opcode byte followed by its
// arguments; numbers are little-endian, and an input that ends early reads
// zeros. Every byte string is a valid session, so the fuzzer may mutate
// freely; the corpus tool writes the same encoding from scenario files.
//
// Choice bytes are taken modulo a fixed number of slots, not the number of
// choices there are now, so that inputs kept in the corpus mean the same when
// operations or kinds are added: an operation slot with nothing in it does
// nothing, a value kind slot with nothing in it reads a special value.
#pragma once

#include <float.h>
#include <math.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

namespace kestrel::fuzz {

enum Op : uint8_t {
    OP_LOAD,           // count (1 to 4), steps, then count gauge references
    OP_LOAD_ALL,       // steps and order: every module in the Gauges folder not yet loaded
    OP_UNLOAD,         // loaded gauge
    OP_FRAMES,         // count
    OP_SET,            // variable (index into the variables the gauges read), value
    OP_SET_ID,         // variable id (32 bits), value
    OP_SHARED,         // name (index into SHARED_NAMES), shared value
    OP_TICKS,          // how (TicksHow), then its amount
    OP_FPS,            // frames per second (0 counts as 1)
    OP_SERVICE,        // loaded gauge, service id (32 bits)
    OP_CLICK,          // loaded gauge, point
    OP_HOLD,           // loaded gauge, point, frames
    OP_DRAG,           // loaded gauge, point, point, frames
    OP_PRESS,          // loaded gauge, point: held until OP_RELEASE or an unload
    OP_REPEAT,         // the held button: an area that repeats is called again
    OP_MOVE,           // point: the held button moves there
    OP_RELEASE,        //
    OP_SOUND_LIBRARY,  // 0: the modules find no GaugeSound from now on; else they do
    OP_DRAW,           // lighting (day, dusk, night): the renderer draws every loaded gauge
    OP_MODEL,          // how (ModelHow), model reference: the simulator stand-in's models
    OP_COUNT
};
constexpr unsigned OP_SLOTS = 32;
constexpr unsigned KIND_SLOTS = 8;
static_assert(OP_COUNT <= OP_SLOTS);

// Steps of a load: Host::Steps in order (none, install, install and initialize).
constexpr uint8_t STEPS_ALL = 2;

// A gauge reference is a 16-bit name hash: it picks the gauge whose hash
// follows it most closely (cyclically), so a reference written for one gauge
// keeps meaning that gauge when other modules are added.
inline uint16_t gauge_hash(const std::string& name) {
    uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return static_cast<uint16_t>((h >> 16) ^ (h & 0xFFFF));
}

// The index of the name that `want` picks, or -1 for an empty list.
inline int pick_gauge(const std::vector<std::string>& names, uint16_t want) {
    int best = -1;
    uint32_t best_distance = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const uint32_t d = static_cast<uint16_t>(gauge_hash(names[i]) - want);
        if (best < 0 || d < best_distance) {
            best = static_cast<int>(i);
            best_distance = d;
        }
    }
    return best;
}

// A point: a mode byte below 0x80 names a clickable area (index modulo the
// gauge's areas) followed by two bytes placing the point inside it; 0x80 and
// above is followed by a raw x and y (32-bit, anywhere at all).
constexpr uint8_t POINT_RAW = 0x80;

// How OP_MODEL switches the simulator stand-in's models. A model reference
// is a 16-bit name hash, picked like a gauge reference (gauge_hash, pick_gauge).
enum ModelHow : uint8_t {
    MODEL_OFF,      // the model referenced
    MODEL_ON,       // the model referenced
    MODEL_ALL_OFF,  // every model (the reference is read and ignored)
    MODEL_ALL_ON,
    MODEL_HOW_COUNT
};

// A value for a simulator variable: kind byte, then its payload.
enum ValueKind : uint8_t {
    VALUE_DOUBLE,      // 8 bytes
    VALUE_SPECIAL,     // index into SPECIAL_VALUES
    VALUE_BCD,         // 32-bit binary-coded-decimal word (any nibbles)
    VALUE_INT,         // signed 32-bit, as a double
    VALUE_HUNDREDTHS,  // signed 16-bit, divided by 100
    VALUE_KINDS
};

// Values that break careless code: not-a-numbers, infinities, values beyond
// every integer and float range, denormals, negative zero, integer limits.
inline double special_value(uint8_t index) {
    static const double values[] = {
        NAN, -NAN, INFINITY, -INFINITY, 1e300, -1e300, DBL_MAX, -DBL_MAX,
        4.9406564584124654e-324, -4.9406564584124654e-324, DBL_MIN, -0.0,
        0.0, 1.0, -1.0, 0.5, 2147483647.0, -2147483648.0, 2147483648.0, -2147483649.0,
        4294967295.0, 4294967296.0, 9007199254740993.0, 9223372036854775808.0,
        -9223372036854775808.0, 18446744073709551616.0, 1e10, -1e10,
        65535.0, 65536.0, 32767.5, -32768.5, 1e-300, 360.0, -360.0, 720.0,
        3.4028234663852886e38, 3.5e38, -3.5e38, 1e39, 0.1, 99999.99, 1e15, -1e15,
    };
    return values[index % (sizeof values / sizeof values[0])];
}

// A value for a shared variable: kind byte, then its payload.
enum SharedKind : uint8_t {
    SHARED_RAW,      // 32 bits
    SHARED_SPECIAL,  // index into the special integers
    SHARED_SMALL,    // signed 8-bit
    SHARED_KINDS
};

inline int32_t special_shared(uint8_t index) {
    static const int32_t values[] = {0, 1, 2, 3, 4, -1, INT32_MIN, INT32_MAX, 255, 256, 0x10000};
    return values[index % (sizeof values / sizeof values[0])];
}

// The panel's shared variables, as OP_SHARED numbers them.
inline const char* const SHARED_NAMES[] = {"adfvor", "apu",   "nosmoking", "seatbelts", "display",
                                           "eicas",  "rose",  "power",     "sfd",       "ab"};
constexpr size_t SHARED_NAME_COUNT = sizeof SHARED_NAMES / sizeof SHARED_NAMES[0];

// How OP_TICKS moves the tick counter (variable 0x1).
enum TicksHow : uint8_t {
    TICKS_FORWARD,        // 8-bit count
    TICKS_BACK,           // 8-bit count
    TICKS_JUMP_FORWARD,   // 32-bit count
    TICKS_JUMP_BACK,      // 32-bit count
    TICKS_SET,            // a value (kind byte and payload)
    TICKS_HOW_COUNT
};

// Limits that keep one input fast. Frames are counted once for each gauge
// loaded at the time: many frames of one gauge, or a few of a full panel.
constexpr size_t MAX_OPS = 400;
constexpr uint64_t MAX_GAUGE_FRAMES = 2000;
constexpr uint8_t MAX_HOLD_FRAMES = 63;  // hold and drag use the low six bits

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool done() const { return p_ == end_; }
    uint8_t u8() { return p_ == end_ ? 0 : *p_++; }
    uint16_t u16() { return static_cast<uint16_t>(u8() | u8() << 8); }
    uint32_t u32() {
        uint32_t v = u16();
        return v | static_cast<uint32_t>(u16()) << 16;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    double f64() {
        const uint64_t lo = u32();
        const uint64_t bits = lo | static_cast<uint64_t>(u32()) << 32;
        double v;
        memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

class Writer {
public:
    void u8(uint8_t v) { out_.push_back(v); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f64(double v) {
        uint64_t bits;
        memcpy(&bits, &v, sizeof bits);
        u32(static_cast<uint32_t>(bits));
        u32(static_cast<uint32_t>(bits >> 32));
    }
    void op(Op op) { u8(op); }
    void gauge(const std::string& name) { u16(gauge_hash(name)); }
    void raw_point(int32_t x, int32_t y) {
        u8(POINT_RAW);
        i32(x);
        i32(y);
    }
    void area_point(uint8_t area, uint8_t dx, uint8_t dy) {
        u8(area & 0x7F);
        u8(dx);
        u8(dy);
    }
    void double_value(double v) {
        u8(VALUE_DOUBLE);
        f64(v);
    }
    void append(const Writer& other) { out_.insert(out_.end(), other.out_.begin(), other.out_.end()); }
    const std::vector<uint8_t>& bytes() const { return out_; }

private:
    std::vector<uint8_t> out_;
};

}  // namespace kestrel::fuzz
