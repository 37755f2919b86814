// The primary flight display as the host draws it, looked at by pixels: the
// cover, the horizon's tilt and height, the figures under the tapes'
// reference lines, the bank pointer and the flight director bars.
#include <math.h>

#include "host/panel/bitmap.h"
#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class PfdPicture : public HostTest, protected Picture {
protected:
    Gauge& pfd = load({"broadcaster", "pfd"});
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void SetUp() override {
        host.frame();  // the first frame clears "display"
        host.registry.set("display", 1);
        host.sim.set(0x16C, 1);
    }
    void draw(std::initializer_list<std::pair<uint32_t, double>> vars = {}) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(pfd);
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
    }
    static bool sky(uint32_t c) { return b(c) > r(c) + 60; }
    static bool ground(uint32_t c) { return r(c) > b(c) + 60; }
    static bool white(uint32_t c) { return r(c) > 0xC0 && g(c) > 0xC0 && b(c) > 0xC0; }
    static bool yellow(uint32_t c) { return r(c) > 0xC0 && g(c) > 0xB0 && b(c) < 0x60; }
    static bool green(uint32_t c) { return g(c) > 0xB0 && r(c) < 0x80 && b(c) < 0x80; }
};

TEST_F(PfdPicture, CoverHidesTheFaceUntilBatteryAndDisplayAreOn) {
    draw({{0x16C, 0}});
    const uint32_t cover = px(160, 180);
    for (const auto& [x, y] : {std::pair{5, 5}, {135, 150}, {20, 200}, {300, 350}}) EXPECT_EQ(px(x, y), cover);
    EXPECT_FALSE(sky(cover));
    draw({{0x16C, 1}});
    EXPECT_TRUE(sky(px(135, 150)));
}

TEST_F(PfdPicture, HorizonTiltsWithTheBankAndMovesWithThePitch) {
    draw({{0x50, 0}, {0x4E, 0}});
    EXPECT_TRUE(sky(px(195, 196)));
    EXPECT_TRUE(ground(px(195, 212)));
    EXPECT_TRUE(sky(px(70, 196)));
    EXPECT_TRUE(ground(px(70, 212)));

    // 10 degrees left wing down: the horizon drops on the right, rises on the left.
    draw({{0x50, 10}});
    EXPECT_TRUE(sky(px(195, 209)));
    EXPECT_TRUE(ground(px(195, 220)));
    EXPECT_TRUE(sky(px(75, 188)));
    EXPECT_TRUE(ground(px(75, 199)));
    // 10 degrees right wing down: the other way.
    draw({{0x50, -10}});
    EXPECT_TRUE(ground(px(195, 199)));
    EXPECT_TRUE(sky(px(195, 188)));
    EXPECT_TRUE(ground(px(75, 220)));
    EXPECT_TRUE(sky(px(75, 209)));

    // 10 degrees nose up: the horizon lies 37.5 pixels below the symbol.
    draw({{0x50, 0}, {0x4E, -10}});
    EXPECT_TRUE(sky(px(165, 236)));
    EXPECT_TRUE(ground(px(165, 246)));
    // Nose down: above it.
    draw({{0x4E, 10}});
    EXPECT_TRUE(sky(px(165, 160)));
    EXPECT_TRUE(ground(px(165, 172)));

    // The freeze condition levels the sphere whatever the attitude.
    draw({{0x50, 30}, {0x4E, 10}, {0x236, 0}, {0x3C, 1}});
    EXPECT_TRUE(sky(px(195, 196)));
    EXPECT_TRUE(ground(px(70, 212)));
}

TEST_F(PfdPicture, SymbolAndBankScaleStandInFrontOfTheSphere) {
    draw({{0x4E, -10}});  // the sky behind the symbol
    EXPECT_TRUE(yellow(px(100, 204)));  // left wing
    EXPECT_TRUE(yellow(px(170, 204)));  // right wing
    EXPECT_TRUE(yellow(px(132, 106)));  // the fixed index at the top of the bank scale
    EXPECT_TRUE(any(128, 136, 108, 113, white) || any(128, 136, 108, 113, yellow));
}

TEST_F(PfdPicture, BankPointerTurnsToTheSkySide) {
    draw({{0x50, 30}});  // left wing down: the pointer leans right
    EXPECT_TRUE(any(173, 179, 128, 134, yellow));
    EXPECT_FALSE(any(87, 93, 126, 132, yellow));
    draw({{0x50, -30}});
    EXPECT_TRUE(any(87, 93, 126, 132, yellow));
    EXPECT_FALSE(any(173, 179, 128, 134, yellow));
    draw({{0x50, 30}, {0x236, 0}, {0x3C, 1}});  // frozen: straight up
    EXPECT_TRUE(any(130, 134, 118, 124, yellow));
    EXPECT_FALSE(any(173, 179, 128, 134, yellow));
}

TEST_F(PfdPicture, AirspeedFigureSitsOnTheReferenceLine) {
    for (double knots : {100.0, 160.0, 260.0}) {
        draw({{0x3D, knots}});
        EXPECT_TRUE(yellow(px(20, 207)));  // the reference line across the tape
        EXPECT_TRUE(any(10, 29, 201, 205, white) && any(10, 29, 209, 213, white)) << knots;
        draw({{0x3D, knots + 10}});  // figures every 20 knots: none on the line now
        EXPECT_FALSE(any(10, 29, 201, 213, white)) << knots + 10;
        // The figure has moved down: slower speeds lie below.
        EXPECT_TRUE(any(10, 29, 231, 243, white)) << knots + 10;
    }
}

TEST_F(PfdPicture, AltitudeFiguresLieAFiveHundredFootStepFromTheReadout) {
    // Figures every 500 feet; the one at the altitude hides under the box,
    // the next ones lie 120 pixels above and below.
    for (double feet : {2000.0, 12000.0}) {
        draw({{0x4A, feet}});
        EXPECT_TRUE(any(243, 266, 85, 92, white)) << feet;
        EXPECT_TRUE(any(243, 266, 323, 329, white)) << feet;
        EXPECT_TRUE(yellow(px(250, 192)));  // the box's edge
        draw({{0x4A, feet + 250}});
        EXPECT_FALSE(any(243, 266, 85, 92, white)) << feet + 250;
        EXPECT_TRUE(any(243, 266, 145, 152, white)) << feet + 250;
    }
}

TEST_F(PfdPicture, HeadingFigureSitsUnderTheReferenceLine) {
    for (double degrees : {90.0, 270.0, 0.0}) {
        draw({{0x51, degrees}});
        EXPECT_TRUE(yellow(px(135, 325)));
        EXPECT_TRUE(any(130, 141, 337, 346, white)) << degrees;
        draw({{0x51, degrees + 5}});  // figures every 10 degrees: none under the line
        EXPECT_FALSE(any(131, 140, 337, 346, white)) << degrees + 5;
    }
}

TEST_F(PfdPicture, FlightDirectorBarsMoveTowardsTheCommand) {
    draw({{0x318, 1}, {0x319, -3}, {0x4E, -3}, {0x31A, 0}, {0x50, 0}});
    EXPECT_TRUE(green(px(100, 204)));  // pitch bar across the symbol
    EXPECT_TRUE(green(px(135, 170)));  // roll bar through it
    draw({{0x319, -8}});               // command 5 degrees more nose up
    EXPECT_TRUE(green(px(100, 189)));
    EXPECT_FALSE(green(px(100, 204)));
    draw({{0x319, 2}});  // 5 degrees more nose down
    EXPECT_TRUE(green(px(100, 218)));
    draw({{0x31A, 20}});  // command a bank to the left
    EXPECT_TRUE(green(px(106, 170)));
    EXPECT_FALSE(green(px(135, 170)));
    draw({{0x31A, -20}});  // to the right
    EXPECT_TRUE(green(px(164, 170)));
    draw({{0x318, 0}});  // director off
    EXPECT_FALSE(green(px(164, 170)));
    EXPECT_FALSE(green(px(100, 218)));
}

// The altitude tape is 10800 pixels tall: the host reads such strips, and
// still refuses sizes beyond its limits.
TEST(TallStrips, AreReadUpToTheHostsLimits) {
    Pixels tape;
    tape.width = 35;
    tape.height = 10800;
    tape.argb.assign(size_t(35) * 10800, 0xFF808080u);
    const std::vector<uint8_t> file = encode_bmp(tape);
    Pixels back;
    EXPECT_EQ(decode_bmp(file.data(), file.size(), &back), "");
    EXPECT_EQ(back.height, 10800);
    for (const auto& [w, h] : {std::pair{35, MAX_BITMAP_SIDE + 1}, {8193, 8193}}) {
        std::vector<uint8_t> bad = file;
        for (int k = 0; k < 4; ++k) {
            bad[18 + k] = uint8_t(uint32_t(w) >> (8 * k));
            bad[22 + k] = uint8_t(uint32_t(h) >> (8 * k));
        }
        EXPECT_NE(decode_bmp(bad.data(), bad.size(), &back).find("bad size"), std::string::npos) << w << "x" << h;
    }
}

}  // namespace
}  // namespace kestrel::test
