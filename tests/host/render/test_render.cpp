// The renderer, by pixels: a test gauge with one element of each kind is
// driven through the host, drawn, and looked at where its rules say its
// bitmaps must land (and where they must not).
#include <math.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "host/panel/bitmap.h"
#include "host/render/render.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

constexpr uint32_t GREY = 0x404040, WHITE = 0xFFFFFF, RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF;
constexpr uint32_t SPRITE_FILL = 0x202080;

void write_bitmap(const std::string& dir, uint32_t id, int w, int h, uint32_t (*colour)(int x, int y)) {
    Pixels p;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.argb.push_back(colour(x, y) ? 0xFF000000u | colour(x, y) : 0);
    const std::vector<uint8_t> bytes = encode_bmp(p);
    const std::string path = artwork_path(dir, "canvas", id);
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// The canvas gauge's bitmaps (black is transparent).
std::string canvas_artwork() {
    static const std::string dir = [] {
        // Of this run's own: the temporary folder may be shared with other runs.
        const std::string d = ::testing::TempDir() + "kestrel-render-art-" + std::to_string(getpid());
        mkdir(d.c_str(), 0755);
        mkdir((d + "/canvas").c_str(), 0755);
        return d;
    }();
    // 120x100 plain grey background.
    write_bitmap(dir, 0x100, 120, 100, [](int, int) { return GREY; });
    // Needle: a white bar 3 pixels thick along +x; its pivot is (2, 2), its tip (23, 2).
    write_bitmap(dir, 0x1100, 24, 5, [](int, int y) { return y >= 1 && y <= 3 ? WHITE : 0u; });
    // Slider: a red 4x4 square.
    write_bitmap(dir, 0x1200, 4, 4, [](int, int) { return RED; });
    // Moving strip 6x60: row r is blue 50 + 3r; its window 6x20.
    write_bitmap(dir, 0x1300, 6, 60, [](int, int y) { return uint32_t(50 + 3 * y); });
    write_bitmap(dir, 0x1301, 6, 20, [](int, int) { return WHITE; });
    // Sprite 20x20, dark blue with a red mark right of the centre (x 16-19,
    // y 8-11); its mask 30x30.
    write_bitmap(dir, 0x1400, 20, 20,
                 [](int x, int y) { return x >= 16 && y >= 8 && y <= 11 ? RED : SPRITE_FILL; });
    write_bitmap(dir, 0x1401, 30, 30, [](int, int) { return WHITE; });
    // Icon frames 0, 1, 2: red, green, blue squares of 8x8.
    write_bitmap(dir, 0x1500, 8, 8, [](int, int) { return RED; });
    write_bitmap(dir, 0x1501, 8, 8, [](int, int) { return GREEN; });
    write_bitmap(dir, 0x1502, 8, 8, [](int, int) { return BLUE; });
    return dir;
}

// Element numbers of the canvas gauge, and its variables.
enum : uint32_t {
    NEEDLE_VALUE = 0x9101, SLIDER_X = 0x9102, SLIDER_Y = 0x9103, STRIP = 0x9104,
    SPRITE_X = 0x9105, SPRITE_Y = 0x9106, SPRITE_TURN = 0x9107, LAMP_FRAME = 0x9108,
    LAMP_HIDDEN = 0x9109, LAMP_LIT = 0x910A,
};

class Render : public HostTest, protected Picture {
protected:
    Gauge& canvas = load({test_module("canvas")});
    Renderer renderer{canvas_artwork(), rules::DAY};

    // Runs a frame with the variables set, and draws the gauge.
    void draw(std::initializer_list<std::pair<uint32_t, double>> vars = {}) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(canvas);
        cairo_surface_flush(picture.get());
    }
    static int red(uint32_t c) { return (c >> 16) & 0xFF; }
    static int green(uint32_t c) { return (c >> 8) & 0xFF; }
    static int blue(uint32_t c) { return c & 0xFF; }
};

TEST_F(Render, AModulesBitmapsAreReadAgainOnlyWhenForgotten) {
    draw();
    EXPECT_EQ(px(110, 90), GREY);
    write_bitmap(canvas_artwork(), 0x100, 120, 100, [](int, int) { return RED; });  // the module rebuilt
    draw();
    EXPECT_EQ(px(110, 90), GREY);  // kept: bitmaps are read once
    renderer.forget_bitmaps("canvas");
    draw();
    EXPECT_EQ(px(110, 90), RED);
}

TEST_F(Render, NeedleTipLiesWhereTheTableSaysBetweenEntries) {
    // Value 50 lies halfway between "up" (0) and "right" (100): the needle
    // points up and to the right at 45 degrees.
    draw({{NEEDLE_VALUE, 50}});
    EXPECT_EQ(px(40, 19), WHITE);  // 15 pixels out along the needle
    EXPECT_EQ(px(43, 16), WHITE);  // near the tip, 21 pixels out
    EXPECT_EQ(px(47, 12), GREY);   // beyond the tip
    EXPECT_EQ(px(30, 15), GREY);   // where value 0 would point
    EXPECT_EQ(px(45, 30), GREY);   // where value 100 would point

    draw({{NEEDLE_VALUE, 150}});  // halfway from right to down
    EXPECT_EQ(px(40, 40), WHITE);
    draw({{NEEDLE_VALUE, 1e9}});  // beyond the table: held at its last entry
    EXPECT_EQ(px(30, 45), WHITE);
    draw({{NEEDLE_VALUE, NAN}});  // NaN: at the first entry
    EXPECT_EQ(px(30, 15), WHITE);
}

TEST_F(Render, SliderMovesByValueTimesScale) {
    draw({{SLIDER_X, 0}, {SLIDER_Y, 0}});
    EXPECT_EQ(px(61, 11), RED);
    draw({{SLIDER_X, 5}, {SLIDER_Y, 8}});  // scales 2 and 0.5: 10 right, 4 down
    EXPECT_EQ(px(70, 14), RED);
    EXPECT_EQ(px(73, 17), RED);
    EXPECT_EQ(px(74, 14), GREY);
    EXPECT_EQ(px(70, 13), GREY);
    EXPECT_EQ(px(61, 11), GREY);  // nothing left at the old place
    draw({{SLIDER_X, 1e300}, {SLIDER_Y, NAN}});  // out of sight; nothing else disturbed
    EXPECT_EQ(px(61, 11), GREY);
}

TEST_F(Render, MovingStripSitsAtBothEndsAndTheMiddleOfItsRange) {
    // The window is 6x20 at (100, 10); row r of the strip is blue 50 + 3r.
    const struct {
        double value;
        int top_row;  // the strip's row seen in the window's top row
    } cases[] = {{0, 0}, {100, 40}, {50, 20}, {-30, 0}, {1e300, 40}, {NAN, 0}};
    for (const auto& c : cases) {
        draw({{STRIP, c.value}});
        EXPECT_EQ(px(102, 10), uint32_t(50 + 3 * c.top_row)) << c.value;
        EXPECT_EQ(px(102, 29), uint32_t(50 + 3 * (c.top_row + 19))) << c.value;
        // Only the window shows the strip.
        EXPECT_EQ(px(102, 9), GREY) << c.value;
        EXPECT_EQ(px(102, 30), GREY) << c.value;
    }
}

TEST_F(Render, SpriteTurnedBy90DegreesPutsItsMarkAboveTheCentre) {
    // The image's centre sits on (25, 75); its red mark is right of the centre.
    draw({{SPRITE_TURN, 0}});
    EXPECT_EQ(px(32, 74), RED);
    EXPECT_EQ(px(24, 67), SPRITE_FILL);
    draw({{SPRITE_TURN, 90}});  // counter-clockwise: the mark goes to the top
    EXPECT_EQ(px(24, 67), RED);
    EXPECT_EQ(px(32, 74), SPRITE_FILL);
    EXPECT_EQ(px(17, 74), SPRITE_FILL);
}

TEST_F(Render, SpriteShiftedPointLandsOnTheOffsetAndIsSeenOnlyThroughTheMask) {
    // x = 8 puts the image point 8 right of the centre (the mark) on (25, 75).
    draw({{SPRITE_X, 8}, {SPRITE_TURN, 0}});
    EXPECT_EQ(px(24, 74), RED);
    // x = -8 moves the image right, so that its mark straddles the mask's
    // right edge (gauge x 40): inside it shows, outside nothing is drawn.
    draw({{SPRITE_X, -8}});
    EXPECT_EQ(px(39, 74), RED);
    EXPECT_EQ(px(40, 74), GREY);
    EXPECT_EQ(px(41, 75), GREY);
}

TEST_F(Render, IconShowsItsFrameAndNothingOutsideItsFrames) {
    const struct {
        double value;
        uint32_t colour;
    } cases[] = {{0, RED}, {1, GREEN}, {2, BLUE}, {2.5, BLUE}, {3, GREY}, {-1, GREY}, {NAN, GREY}};
    for (const auto& c : cases) {
        draw({{LAMP_FRAME, c.value}});
        EXPECT_EQ(px(63, 43), c.colour) << c.value;
    }
    // The element is told once, with the first frame that could not be drawn.
    const std::vector<std::string> notes = renderer.take_notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("canvas[5]: icon frame 3 is outside 0 to 2"), std::string::npos) << notes[0];
}

TEST_F(Render, HiddenElementLeavesThePixelsUnderItAndLaterElementsAreDrawn) {
    draw({{LAMP_FRAME, 1}, {LAMP_HIDDEN, 1}});
    for (int y = 40; y < 48; ++y)
        for (int x = 60; x < 68; ++x) ASSERT_EQ(px(x, y), GREY) << x << "," << y;
    // The text after it in the chain is still drawn.
    int ink = 0;
    for (int y = 88; y < 100; ++y)
        for (int x = 5; x < 45; ++x) ink += px(x, y) != GREY;
    EXPECT_GT(ink, 40);
}

TEST_F(Render, TextIsClippedToItsBox) {
    draw();
    int inside = 0, outside = 0;
    // The box is 40x12 at (5, 88); the rows from 86 down hold nothing else.
    for (int y = 86; y < 100; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool in_box = x >= 5 && x < 45 && y >= 88;
            (in_box ? inside : outside) += px(x, y) != GREY;
        }
    EXPECT_GT(inside, 40);   // "WWWW..." fills the box
    EXPECT_EQ(outside, 0);   // and not a pixel beyond it
}

TEST_F(Render, LitElementIsBrighterThanTheSameElementUnlit) {
    renderer.set_lighting(rules::DUSK);
    draw({{LAMP_FRAME, 0}, {LAMP_LIT, 0}});
    const uint32_t unlit = px(63, 43);
    const uint32_t background = px(100, 90);
    draw({{LAMP_LIT, 1}});
    const uint32_t lit = px(63, 43);
    EXPECT_EQ(lit, RED);
    EXPECT_LT(red(unlit), 140);  // plainly darker at dusk
    EXPECT_GT(red(unlit), 60);   // but still there
    EXPECT_EQ(green(unlit) | blue(unlit), 0);
    EXPECT_LT(red(background), red(GREY));  // unlit panel surface is dimmed too
}

TEST_F(Render, MissingBitmapIsToldOnceAndTheRestIsDrawn) {
    Renderer elsewhere(::testing::TempDir() + "no-such-artwork", rules::DAY);
    host.frame();
    Surface s = elsewhere.gauge_picture(canvas);
    Surface again = elsewhere.gauge_picture(canvas);
    const std::vector<std::string> notes = elsewhere.take_notes();
    ASSERT_EQ(notes.size(), 1u);  // the background; with no size, nothing else is tried
    EXPECT_NE(notes[0].find("canvas: bitmap 0x100 (background)"), std::string::npos) << notes[0];
}

TEST_F(Render, AnyValueOfAnyVariableDrawsWithoutHarm) {
    // The sanitizers watch every conversion; the picture keeps its size and
    // the background stays where no element can reach.
    const double values[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300, -0.0, 1e-300, 2147483648.0, -2147483649.0};
    for (double v : values) {
        draw({{NEEDLE_VALUE, v}, {SLIDER_X, v}, {SLIDER_Y, v}, {STRIP, v}, {SPRITE_X, v}, {SPRITE_Y, v},
              {SPRITE_TURN, v}, {LAMP_FRAME, v}, {LAMP_HIDDEN, v}, {LAMP_LIT, v}});
        EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 120) << v;
        EXPECT_EQ(px(119, 99), GREY) << v;
    }
    Surface odd = renderer.gauge_picture(canvas, NAN);  // taken as 1:1
    EXPECT_EQ(cairo_image_surface_get_width(odd.get()), 120);
}

// ---------------------------------------------------------------------------
// Where a turned bitmap reaches: the renderer composites only the boxes that
// rules::reach gives, so every pixel that cairo's drawing (bilinear, as the
// renderer draws) changes must lie in one of them.

TEST(Reach, HoldsEveryPixelThatATurnedBitmapChanges) {
    struct Image {
        int w, h;
        uint32_t (*colour)(int x, int y);
    };
    const Image images[] = {
        {80, 80, [](int x, int y) { return x >= 39 && x <= 41 && y >= 10 && y < 70 ? WHITE : 0u; }},  // a needle
        {64, 64, [](int x, int y) {  // a ring
             const double r = hypot(x - 31.5, y - 31.5);
             return r > 27 && r < 30 ? RED : 0u;
         }},
        {7, 9, [](int x, int y) { return x == 6 && y == 8 ? GREEN : 0u; }},  // one corner pixel
        {33, 20, [](int, int) { return BLUE; }},                             // solid
    };
    // A disc seen through, its corner off the grid of the target.
    constexpr int W = 100, H = 90, MASK_X = 3, MASK_Y = 2;
    std::vector<uint32_t> disc(size_t(90) * 84);
    for (int y = 0; y < 84; ++y)
        for (int x = 0; x < 90; ++x) disc[size_t(y) * 90 + x] = hypot(x - 45, y - 42) < 40 ? 0xFFFFFFFFu : 0;
    const rules::Occupancy disc_cells = rules::occupancy(disc.data(), 90, 84, rules::REACH_CELL);
    Surface mask(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(disc.data()),
                                                     CAIRO_FORMAT_ARGB32, 90, 84, 90 * 4));
    for (const Image& im : images) {
        std::vector<uint32_t> px(size_t(im.w) * im.h);
        for (int y = 0; y < im.h; ++y)
            for (int x = 0; x < im.w; ++x) px[size_t(y) * im.w + x] = im.colour(x, y) ? 0xFF000000u | im.colour(x, y) : 0;
        Surface image(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(px.data()),
                                                          CAIRO_FORMAT_ARGB32, im.w, im.h, im.w * 4));
        const rules::Occupancy cells = rules::occupancy(px.data(), im.w, im.h, 8);
        for (const bool masked : {false, true})
            for (const double degrees : {0.0, 0.3, 17.0, 45.0, 90.0, 133.7, 200.0, 271.0, 359.9})
                for (double shift = 0; shift < 16; shift += 1.37) {  // across a cell of reach()
                    const rules::SpriteValues v = {0, 0, degrees, 1, 1, 1};
                    const rules::Affine m = rules::sprite_transform({0, 0}, {50, 45}, im.w, im.h, v);
                    const rules::Affine placed = {m.xx, m.yx, m.xy, m.yy, m.x0 + shift, m.y0 + shift / 2};
                    Surface target = new_surface(W, H);
                    cairo_t* cr = cairo_create(target.get());
                    cairo_matrix_t inverse;
                    cairo_matrix_init(&inverse, placed.xx, placed.yx, placed.xy, placed.yy, placed.x0, placed.y0);
                    ASSERT_EQ(cairo_matrix_invert(&inverse), CAIRO_STATUS_SUCCESS);
                    cairo_set_source_surface(cr, image.get(), 0, 0);
                    cairo_pattern_set_matrix(cairo_get_source(cr), &inverse);
                    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
                    if (masked)
                        cairo_mask_surface(cr, mask.get(), MASK_X, MASK_Y);
                    else
                        cairo_paint(cr);
                    cairo_destroy(cr);
                    cairo_surface_flush(target.get());
                    const auto boxes =
                        rules::reach(cells, placed, masked ? &disc_cells : nullptr, MASK_X, MASK_Y, {0, 0, W, H});
                    auto in = [](const rules::PixelBox& b, int x, int y) {
                        return x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
                    };
                    const auto* out = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(target.get()));
                    for (int y = 0; y < H; ++y)
                        for (int x = 0; x < W; ++x) {
                            int holding = 0;
                            for (const auto& b : boxes) holding += in(b, x, y);
                            ASSERT_LE(holding, 1) << "boxes overlap at " << x << "," << y;
                            ASSERT_TRUE(holding == 1 || out[y * W + x] == 0)
                                << im.w << "x" << im.h << (masked ? " masked" : "") << " turned " << degrees
                                << " shifted " << shift << ": pixel " << x << "," << y << " changed outside";
                        }
                }
    }
    // Where nothing shows, nothing is reached.
    const std::vector<uint32_t> clear(64, 0);
    EXPECT_TRUE(rules::reach(rules::occupancy(clear.data(), 8, 8, 8), {1, 0, 0, 1, 5, 5}, nullptr, 0, 0, {0, 0, W, H})
                    .empty());
}

// ---------------------------------------------------------------------------
// The flap lever with its own artwork.

class FlapLeverPicture : public HostTest, protected Picture {
protected:
    Gauge& lever = load({"broadcaster", "flap_lever"});
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void draw(double handle, int32_t power) {
        host.sim.set(0x148, handle);
        host.frame();
        host.registry.set("power", power);
        host.frame();
        picture = renderer.gauge_picture(lever);
        cairo_surface_flush(picture.get());
        ASSERT_EQ(cairo_image_surface_get_width(picture.get()), 93);
        ASSERT_EQ(cairo_image_surface_get_height(picture.get()), 122);
    }
    int brightness(int x, int y) const {
        const uint8_t* data = cairo_image_surface_get_data(picture.get());
        const uint32_t c = *reinterpret_cast<const uint32_t*>(data + size_t(y) * cairo_image_surface_get_stride(picture.get()) + size_t(x) * 4);
        return int((c >> 16) & 0xFF) + int((c >> 8) & 0xFF) + int(c & 0xFF);
    }
};

TEST_F(FlapLeverPicture, KnobStandsLevelWithTheMarkOfEachPosition) {
    for (int k = 0; k < 6; ++k) {
        draw(k * 3276.8, 1);
        // The knob's white index line is the brightest row of the slot's
        // centre line; the mark of position k is the brightest row of the ticks.
        int knob_row = -1, mark_row = -1;
        for (int y = 0; y < 122; ++y) {
            if (knob_row < 0 || brightness(21, y) > brightness(21, knob_row)) knob_row = y;
            if (y > 20 * k - 9 + 11 && y < 20 * k + 9 + 11 &&
                (mark_row < 0 || brightness(39, y) > brightness(39, mark_row)))
                mark_row = y;
        }
        EXPECT_NEAR(knob_row, 11 + 20 * k, 1) << "position " << k;
        EXPECT_NEAR(mark_row, 11 + 20 * k, 1) << "position " << k;
    }
    EXPECT_TRUE(renderer.take_notes().empty());
}

TEST_F(FlapLeverPicture, MarksLightUpOnlyWithPowerExactlyOne) {
    renderer.set_lighting(rules::DUSK);
    int mark[3];
    const int32_t powers[3] = {0, 1, 2};
    for (int i = 0; i < 3; ++i) {
        draw(0, powers[i]);
        mark[i] = brightness(39, 11);
    }
    EXPECT_GT(mark[1], mark[0] + 200);
    EXPECT_EQ(mark[2], mark[0]);
}

}  // namespace
}  // namespace kestrel::test
