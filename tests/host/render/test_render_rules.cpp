// The renderer's drawing rules, value by value: where a needle points, how
// far a slider or a strip moves, where a sprite lands, which icon frame is
// drawn, how text is boxed and how the panel is lit.
#include <math.h>
#include <string.h>

#include <gtest/gtest.h>

#include "host/render/rules.h"

namespace kestrel::rules {
namespace {

constexpr double DEG = M_PI / 180;
const double NaN = nan(""), INF = HUGE_VAL;

// Angles in this file's sense: 0 along +x, +90 degrees straight down the screen.
double degrees(double radians) { return remainder(radians / DEG, 360.0); }

TEST(NeedleRule, AngleComesFromTheTablePointsAboutThePivot) {
    // About the pivot (30, 30): up at 0, right at 100, down at 200.
    const NonlinearityEntry table[] = {{{30, 10}, 0, 0}, {{50, 30}, 100, 0}, {{30, 50}, 200, 0}};
    const struct {
        double value, degrees;
    } cases[] = {
        {0, -90},   {100, 0},   {200, 90},            // on the entries
        {50, -45},  {25, -67.5}, {150, 45},           // between two entries, linear in value
        {-1, -90},  {-1e300, -90}, {-INF, -90},        // held at the first entry
        {201, 90},  {1e300, 90},  {INF, 90},           // held at the last
        {NaN, -90},                                    // NaN reads as the first entry
    };
    for (const auto& c : cases)
        EXPECT_NEAR(degrees(needle_angle(table, 3, {30, 30}, c.value)), c.degrees, 1e-9) << c.value;
}

TEST(NeedleRule, TurnsTheShortWayRoundAndSurvivesOddTables) {
    // From just above the left (-170 degrees) to just below it (+170): the
    // short way passes through 180, not through 0.
    const NonlinearityEntry across[] = {{{-100, -18}, 0, 0}, {{-100, 18}, 10, 0}};
    const double middle = degrees(needle_angle(across, 2, {0, 0}, 5));
    EXPECT_NEAR(fabs(middle), 180, 0.01);

    const NonlinearityEntry one[] = {{{10, 0}, 5, 0}};
    EXPECT_NEAR(degrees(needle_angle(one, 1, {0, 0}, 1e9)), 0, 1e-9);
    EXPECT_EQ(needle_angle(nullptr, 0, {0, 0}, 3), 0);

    // Values that do not increase, repeated values and NaN values: the
    // result is still one of the table's directions or between them.
    const NonlinearityEntry odd[] = {{{0, -10}, 50, 0}, {{10, 0}, 50, 0}, {{0, 10}, NaN, 0}, {{-10, 0}, 10, 0}};
    for (double v : {-1.0, 10.0, 30.0, 50.0, 70.0, NaN, INF}) {
        const double a = needle_angle(odd, 4, {0, 0}, v);
        EXPECT_TRUE(isfinite(a)) << v;
        EXPECT_LE(fabs(a), M_PI) << v;
    }
    // A point on the pivot has no direction; it reads as 0, not NaN.
    const NonlinearityEntry on_pivot[] = {{{5, 5}, 0, 0}, {{5, 5}, 1, 0}};
    EXPECT_EQ(needle_angle(on_pivot, 2, {5, 5}, 0.5), 0);
}

TEST(NeedleRule, BitmapPivotLandsOnTheElementPositionAlongTheAngle) {
    const Affine m = needle_transform({30, 30}, {2, 2}, -90 * DEG);
    const Vec pivot = m.apply({2, 2}), tip = m.apply({23, 2});
    EXPECT_NEAR(pivot.x, 30, 1e-9);
    EXPECT_NEAR(pivot.y, 30, 1e-9);
    EXPECT_NEAR(tip.x, 30, 1e-9);  // 21 pixels straight up
    EXPECT_NEAR(tip.y, 9, 1e-9);
}

TEST(SliderRule, OffsetIsValueTimesScaleOnEachAxis) {
    const struct {
        double x, sx, y, sy, dx, dy;
    } cases[] = {
        {5, 2.0, 8, 0.5, 10, 4},
        {-3, 2.0, 0, 1, -6, 0},
        {1e300, 1e10, -1e300, 1e10, FAR, -FAR},  // far out of sight, still a number
        {NaN, 1, 1, NaN, 0, 0},                  // NaN does not move it
        {INF, 0, 0, INF, 0, 0},                  // infinity times 0
    };
    for (const auto& c : cases) {
        const Vec d = slider_offset(c.x, c.sx, c.y, c.sy);
        EXPECT_EQ(d.x, c.dx) << c.x << " x " << c.sx;
        EXPECT_EQ(d.y, c.dy) << c.y << " x " << c.sy;
    }
}

TEST(MovingRule, StripSitsAtBothEndsOfItsRangeAndBetween) {
    // A 60-pixel strip behind a 20-pixel window, range 0 to 100.
    const struct {
        double value, first, second, shift;
    } cases[] = {
        {0, 0, 100, 0},       // near edge on the window's near edge
        {100, 0, 100, -40},   // far edge on the window's far edge
        {50, 0, 100, -20},    // linear between
        {-5, 0, 100, 0},      // held beyond either end
        {1e300, 0, 100, -40},
        {NaN, 0, 100, 0},
        {25, 100, 0, -30},    // a range given high to low runs the other way
        {42, 0, 0, 0},        // (0, 0): this axis does not move
        {42, 7, 7, 0},
        {42, NaN, 100, 0},
        {INF, -INF, INF, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(moving_shift(c.value, c.first, c.second, 60, 20), c.shift)
            << c.value << " in " << c.first << ".." << c.second;
    // A strip shorter than its window moves the other way.
    EXPECT_EQ(moving_shift(100, 0, 100, 10, 20), 10);
}

TEST(WholePixelRule, RightAngleTurnsAndShiftsLandOnWholePixels) {
    const double c90 = cos(-90 * DEG), s90 = sin(-90 * DEG);  // cos is 6e-17, not 0
    const struct {
        Affine in, out;
    } cases[] = {
        {{1, 0, 0, 1, 10.5, 20.49}, {1, 0, 0, 1, 11, 20}},       // a shift: halves up
        {{1, 0, 0, 1, -0.5, -0.51}, {1, 0, 0, 1, 0, -1}},
        {{c90, s90, -s90, c90, 3.2, 4.7}, {0, -1, 1, 0, 3, 5}},  // a quarter turn made exact
        {{-1, 1e-17, -1e-17, -1, 0.5, 0}, {-1, 0, 0, -1, 1, 0}}, // half a turn
        {{0, 1, 1, 0, 2, 2}, {0, 1, 1, 0, 2, 2}},                // a mirror across the diagonal
    };
    for (const auto& c : cases) {
        const Affine a = on_whole_pixels(c.in);
        EXPECT_EQ(memcmp(&a, &c.out, sizeof a), 0) << a.xx << " " << a.yx << " " << a.xy << " " << a.yy << " " << a.x0
                                                   << " " << a.y0;
    }
    // Any other turn, or a scale, is left to be resampled.
    const double c = cos(0.3 * DEG), s = sin(0.3 * DEG);
    for (const Affine& other : {Affine{c, s, -s, c, 1.5, 2.5}, Affine{2, 0, 0, 2, 0.5, 0}, Affine{1, 0, 0.5, 1, 0, 0}}) {
        const Affine a = on_whole_pixels(other);
        EXPECT_EQ(memcmp(&a, &other, sizeof a), 0) << other.xx << " " << other.xy;
    }
}

TEST(SpriteRule, TurnsCounterClockwiseAboutItsCentrePlacedOnTheOffset) {
    // A 20x20 image in a mask at (10, 60), the centre on the mask's (15, 15).
    auto place = [](SpriteValues v, Vec image_point) {
        return sprite_transform({10, 60}, {15, 15}, 20, 20, v).apply(image_point);
    };
    Vec p = place({0, 0, 0, 1, 1, 1}, {10, 10});
    EXPECT_NEAR(p.x, 25, 1e-9);
    EXPECT_NEAR(p.y, 75, 1e-9);
    // A mark to the right of the centre turns to above it at +90.
    p = place({0, 0, 90, 1, 1, 1}, {18, 10});
    EXPECT_NEAR(p.x, 25, 1e-9);
    EXPECT_NEAR(p.y, 67, 1e-9);
    // A rotation scale of -1 turns the other way: below the centre.
    p = place({0, 0, 90, 1, 1, -1}, {18, 10});
    EXPECT_NEAR(p.x, 25, 1e-9);
    EXPECT_NEAR(p.y, 83, 1e-9);
    // The shifted point (centre + x, centre + y) lands on the offset, even turned.
    for (double r : {0.0, 30.0, 90.0, 200.0}) {
        p = place({8, -3, r, 1, 1, 1}, {18, 7});
        EXPECT_NEAR(p.x, 25, 1e-9) << r;
        EXPECT_NEAR(p.y, 75, 1e-9) << r;
    }
    // Scales apply to each axis.
    p = place({4, 2, 0, 2, 0.5, 1}, {18, 11});
    EXPECT_NEAR(p.x, 25, 1e-9);
    EXPECT_NEAR(p.y, 75, 1e-9);
}

TEST(SpriteRule, AnyValuesGiveAFiniteMap) {
    for (double v : {NaN, INF, -INF, 1e300, -1e300}) {
        const Affine m = sprite_transform({0, 0}, {0, 0}, 10, 10, {v, v, v, v, v, v});
        for (double f : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}) EXPECT_TRUE(isfinite(f)) << v;
    }
    EXPECT_NEAR(sprite_angle(450, 1), sprite_angle(90, 1), 1e-12);
}

TEST(IconRule, DrawsOnlyFramesFromZeroToCountLessOne) {
    const struct {
        double value;
        int frame;
    } cases[] = {
        {0, 0}, {1, 1}, {5, 5}, {5.9, 5}, {0.5, 0},  // the whole part
        {6, -1}, {-1, -1}, {-0.5, -1}, {1e300, -1}, {NaN, -1}, {INF, -1}, {-INF, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(icon_frame(c.value, 6), c.frame) << c.value;
    EXPECT_EQ(icon_frame(0, 0), -1);
}

TEST(TextRule, BoxFontAndColour) {
    TextElement e{};
    e.header.position = {56, 58};
    e.box_width = 39;
    e.box_height = 14;
    TextBox b = text_box(e);
    EXPECT_EQ(b.x, 56);
    EXPECT_EQ(b.y, 58);
    EXPECT_EQ(b.width, 39);
    EXPECT_EQ(b.height, 14);
    EXPECT_EQ(b.cell_height, 14);  // the box's height unless the record says
    e.char_height = 9;
    EXPECT_EQ(text_box(e).cell_height, 9);
    e.box_width = -4;
    EXPECT_EQ(text_box(e).width, 0);  // draws nothing

    const struct {
        const char* face;
        const char* family;
    } faces[] = {{"Arial", "Liberation Sans"},          {"arial", "Liberation Sans"},
                 {"Arial Narrow", "Liberation Sans Narrow"}, {"Quartz", "DSEG7 Classic"},
                 {"Wingdings", "Liberation Sans"},      {"", "Liberation Sans"}};
    for (const auto& f : faces) EXPECT_STREQ(font_family(f.face, 32), f.family) << f.face;
    for (const auto& f : faces) EXPECT_EQ(font_width(f.face, 32), strcmp(f.face, "Quartz") ? 1.0 : 0.65) << f.face;
    EXPECT_EQ(font_width("QuartzX", 6), 0.65);  // the face's field need not end in a null
    EXPECT_EQ(font_width(nullptr, 32), 1.0);
    const char unterminated[4] = {'A', 'r', 'i', 'a'};
    EXPECT_STREQ(font_family(unterminated, sizeof unterminated), "Liberation Sans");

    EXPECT_FALSE(bold(500));
    EXPECT_TRUE(bold(600));
    EXPECT_FALSE(bold(100));
    EXPECT_EQ(colorref_rgb(0x0080FF), 0xFF8000u);  // COLORREF is blue-green-red
    EXPECT_EQ(colorref_rgb(0x429153), 0x539142u);
}

TEST(LightRule, LitElementsAreFullyBrightAndHiddenOnesAreNotDrawn) {
    EXPECT_EQ(brightness(IMAGE_DEFAULT | IMAGE_BRIGHT, DUSK), 1.0);
    EXPECT_LT(brightness(IMAGE_DEFAULT, DUSK), 0.6);
    EXPECT_LT(brightness(IMAGE_DEFAULT, NIGHT), brightness(IMAGE_DEFAULT, DUSK));
    EXPECT_EQ(brightness(IMAGE_DEFAULT, DAY), 1.0);
    EXPECT_FALSE(drawn(IMAGE_DEFAULT | IMAGE_HIDDEN));
    EXPECT_TRUE(drawn(IMAGE_DEFAULT | IMAGE_BRIGHT));
    EXPECT_EQ(lighting_named("dusk"), &DUSK);
    EXPECT_EQ(lighting_named("noon"), nullptr);
}

}  // namespace
}  // namespace kestrel::rules
