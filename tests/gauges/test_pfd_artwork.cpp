// The primary flight display's artwork, read through the host's drawing
// conventions with the values the module hands the host: each tape shows its
// value on the middle line of its window, the sphere tilts and moves the
// right way, and the flight director bars move towards the command.
#include <math.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "tests/support.h"

namespace kestrel::test {
namespace {

// A 24-bit bottom-up BMP as the artwork tool writes it.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first

    uint32_t at(double x, double y) const {
        const int ix = static_cast<int>(floor(x)), iy = static_cast<int>(floor(y));
        if (ix < 0 || iy < 0 || ix >= width || iy >= height) return 0;
        return rgb[static_cast<size_t>(iy) * width + ix];
    }
};

Picture bitmap(uint32_t id) {
    char file[16];
    snprintf(file, sizeof file, "/pfd/%04X.bmp", id);
    const std::string name = KESTREL_ARTWORK_DIR + std::string(file);
    Picture p;
    FILE* f = fopen(name.c_str(), "rb");
    if (!f) {
        ADD_FAILURE() << "cannot read " << name;
        return p;
    }
    std::vector<uint8_t> b;
    uint8_t chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;) b.insert(b.end(), chunk, chunk + n);
    fclose(f);
    auto u32 = [&](size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24; };
    p.width = static_cast<int>(u32(18));
    p.height = static_cast<int>(u32(22));
    const size_t row = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
    p.rgb.resize(static_cast<size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const size_t at = u32(10) + (p.height - 1 - y) * row + x * 3;
            p.rgb[static_cast<size_t>(y) * p.width + x] = b[at + 2] << 16 | b[at + 1] << 8 | b[at];
        }
    return p;
}

bool white(uint32_t c) { return (c >> 16 & 0xFF) > 0xD0 && (c >> 8 & 0xFF) > 0xD0 && (c & 0xFF) > 0xD0; }
bool sky(uint32_t c) { return (c & 0xFF) > (c >> 16 & 0xFF) + 60; }      // blue well above red
bool ground(uint32_t c) { return (c >> 16 & 0xFF) > (c & 0xFF) + 60; }   // red well above blue

// Moving image: the strip's shift inside its window for `value` and the range
// (first, second): first puts the near edges together, second the far ones,
// linear between, held beyond.
double shift(double value, double first, double second, double strip, double window) {
    double t = (value - first) / (second - first);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return t * (window - strip);
}

class PfdArtwork : public HostTest {
protected:
    Gauge& pfd = load({"broadcaster", "pfd"});
    void SetUp() override { host.frame(); }
    const ElementState& after(std::initializer_list<std::pair<uint32_t, double>> vars, size_t i) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        return pfd.state.at(i);
    }
    // The strip row (or column) seen on the middle line of the window of the
    // moving element `i` along `axis` (0 x, 1 y), for the value it returned.
    double middle(size_t i, int axis, double strip, double window) {
        const auto* m = pfd.element_as<MovingElement>(i);
        const double first = axis ? double{m->range_y[0]} : double{m->range_x[0]};
        const double second = axis ? double{m->range_y[1]} : double{m->range_x[1]};
        return window / 2 - shift(pfd.state.at(i).value[axis], first, second, strip, window);
    }
    // Whether any pixel of the rows or columns around `at` is white.
    static bool white_near(const Picture& p, int x0, int x1, double y0, double y1) {
        for (int x = x0; x <= x1; ++x)
            for (double y = y0; y <= y1; y += 1)
                if (white(p.at(x, y))) return true;
        return false;
    }
};

TEST_F(PfdArtwork, AirspeedTapeShowsTheSpeedOnItsMiddleLine) {
    const Picture tape = bitmap(0x1400);
    ASSERT_EQ(tape.height, 1335);
    for (double knots : {40.0, 100.0, 140.0, 260.0, 340.0}) {  // figures every 20 knots
        after({{0x3D, knots}}, 10);
        const double row = middle(10, 1, 1335, 245);
        EXPECT_TRUE(white_near(tape, 34, 38, row - 1, row + 1)) << knots << ": the tick under the line";
        EXPECT_TRUE(white_near(tape, 12, 29, row - 3, row + 3)) << knots << ": its figure";
        after({{0x3D, knots + 5}}, 10);
        const double between = middle(10, 1, 1335, 245);
        EXPECT_FALSE(white_near(tape, 34, 38, between - 1, between + 1)) << knots + 5;
        EXPECT_LT(between, row);  // faster speeds lie higher up the strip
    }
}

TEST_F(PfdArtwork, AltitudeTapeShowsTheAltitudeOnItsMiddleLine) {
    const Picture tape = bitmap(0x1600);
    ASSERT_EQ(tape.height, 10800);
    for (double feet : {-1000.0, 0.0, 500.0, 12300.0, 35000.0}) {
        after({{0x4A, feet}}, 11);
        const double row = middle(11, 1, 10800, 245);
        EXPECT_TRUE(white_near(tape, 0, 3, row - 1, row + 1)) << feet;
        const bool labelled = fmod(feet, 500) == 0;
        EXPECT_EQ(white_near(tape, 10, 30, row - 3, row + 3), labelled) << feet;
        after({{0x4A, feet + 50}}, 11);
        EXPECT_FALSE(white_near(tape, 0, 3, middle(11, 1, 10800, 245) - 1, middle(11, 1, 10800, 245) + 1))
            << feet + 50;
    }
}

TEST_F(PfdArtwork, HeadingTapeShowsTheHeadingOnItsMiddleLine) {
    const Picture tape = bitmap(0x4400);
    ASSERT_EQ(tape.width, 1131);
    for (double degrees : {0.0, 10.0, 90.0, 185.0, 270.0, 355.0}) {
        after({{0x51, degrees}}, 33);
        const double column = middle(33, 0, 1131, 159);
        bool tick = false;
        for (double x = column - 1; x <= column + 1; x += 1) tick = tick || white(tape.at(x, 2));
        EXPECT_TRUE(tick) << degrees;
        after({{0x51, degrees + 2.5}}, 33);
        const double between = middle(33, 0, 1131, 159);
        EXPECT_FALSE(white(tape.at(between, 2))) << degrees + 2.5;
        EXPECT_GT(between, column);  // headings grow to the right
    }
}

TEST_F(PfdArtwork, DrumShowsItsTwentyFootStepOnItsMiddleLine) {
    const Picture drum = bitmap(0x3900);
    ASSERT_EQ(drum.height, 97);
    auto digits_near = [&](double row) {
        int n = 0;
        for (int x = 2; x < 17; ++x)
            for (double y = row - 2; y <= row + 2; y += 1) n += (drum.at(x, y) >> 8 & 0xFF) > 0x60;
        return n;
    };
    for (double feet : {0.0, 20.0, 40.0, 60.0, 80.0}) {
        after({{0x4A, 1000 + feet}}, 32);
        const double on_step = digits_near(middle(32, 1, 97, 40));
        after({{0x4A, 1000 + feet + 10}}, 32);
        EXPECT_GT(on_step, digits_near(middle(32, 1, 97, 40))) << feet;  // the gap between two steps
    }
}

// Sprite: angle = rotation result x rotation scale, counter-clockwise on
// screen; the image point (centre + x, centre + y x 3.75) sits on the
// aircraft symbol. This maps a point of the face back into the sphere image.
uint32_t sphere_seen_at(const Picture& sphere, const SpriteElement& e, const ElementState& s, double fx,
                        double fy) {
    const double degrees = s.value[2] * double{e.scale_rotation};  // counter-clockwise on screen
    const double a = degrees * M_PI / 180;
    const double dx = fx - 135, dy = fy - 204;
    // Undo a counter-clockwise turn (y downward): rotate by +a the other way.
    const double ix = dx * cos(a) - dy * sin(a), iy = dx * sin(a) + dy * cos(a);
    return sphere.at(199.5 + ix, 199.5 + s.value[1] * double{e.scale_y} + iy);
}

TEST_F(PfdArtwork, HorizonTiltsAndMovesTheRightWay) {
    const Picture sphere = bitmap(0x1300);
    ASSERT_EQ(sphere.width, 399);
    auto seen = [&](const ElementState& s, double x, double y) {
        return sphere_seen_at(sphere, *pfd.element_as<SpriteElement>(4), s, x, y);
    };
    // Level: sky above the symbol, ground below.
    const ElementState& level = after({{0x50, 0}, {0x4E, 0}}, 4);
    EXPECT_TRUE(sky(seen(level, 135, 196)));
    EXPECT_TRUE(ground(seen(level, 135, 212)));
    // 10 degrees of bank, left wing down: the horizon drops on the right and
    // rises on the left (the picture turns clockwise).
    const ElementState& left_down = after({{0x50, 10}}, 4);
    EXPECT_TRUE(sky(seen(left_down, 195, 207)));
    EXPECT_TRUE(ground(seen(left_down, 75, 201)));
    const ElementState& right_down = after({{0x50, -10}}, 4);
    EXPECT_TRUE(ground(seen(right_down, 195, 201)));
    EXPECT_TRUE(sky(seen(right_down, 75, 207)));
    // 10 degrees nose up: the horizon lies 37.5 pixels below the symbol and
    // the 10-degree line crosses it.
    const ElementState& nose_up = after({{0x50, 0}, {0x4E, -10}}, 4);
    EXPECT_TRUE(sky(seen(nose_up, 135, 204 + 33)));
    EXPECT_TRUE(ground(seen(nose_up, 135, 204 + 42)));
    EXPECT_TRUE(white(seen(nose_up, 135 + 20, 203)) ||
                white(seen(nose_up, 135 + 20, 204)));
    EXPECT_TRUE(sky(seen(nose_up, 135 + 20, 208)));
    // Frozen: level whatever the attitude.
    const ElementState& frozen = after({{0x50, 30}, {0x4E, -10}, {0x236, 0}, {0x3C, 1}}, 4);
    EXPECT_TRUE(sky(seen(frozen, 195, 196)));
    EXPECT_TRUE(ground(seen(frozen, 75, 212)));
}

TEST_F(PfdArtwork, FlightDirectorBarsMoveTowardsTheCommand) {
    host.sim.set(0x318, 1);
    // Where a bar's near edge sits in its 90-pixel window; 43.5 centres the
    // 3-pixel bar on the aircraft symbol.
    auto bar = [&](size_t i, int axis) {
        const auto* m = pfd.element_as<MovingElement>(i);
        const double first = axis ? double{m->range_y[0]} : double{m->range_x[0]};
        const double second = axis ? double{m->range_y[1]} : double{m->range_x[1]};
        return shift(pfd.state.at(i).value[axis], first, second, 3, 90);
    };
    after({{0x319, -3}, {0x4E, -3}, {0x31A, 0}, {0x50, 0}}, 29);
    EXPECT_DOUBLE_EQ(bar(29, 1), 43.5);
    EXPECT_DOUBLE_EQ(bar(30, 0), 43.5);
    // Command 5 degrees more nose up than the attitude: the pitch bar rises.
    after({{0x319, -8}}, 29);
    EXPECT_LT(bar(29, 1), 43.5);
    after({{0x319, 2}}, 29);
    EXPECT_GT(bar(29, 1), 43.5);
    // Command a bank to the left (positive) from wings level: the roll bar
    // moves left; to the right, right.
    after({{0x31A, 20}}, 30);
    EXPECT_LT(bar(30, 0), 43.5);
    after({{0x31A, -20}}, 30);
    EXPECT_GT(bar(30, 0), 43.5);
    // Banked 20 degrees left with the command at 20: centred again.
    after({{0x50, 20}, {0x31A, 20}}, 30);
    EXPECT_DOUBLE_EQ(bar(30, 0), 43.5);
    EXPECT_EQ(bitmap(0x2400).width, 90);
    EXPECT_EQ(bitmap(0x3000).height, 91);
}

}  // namespace
}  // namespace kestrel::test
