// The engine displays as the host draws them, looked at by pixels: each
// needle covers the dial mark for its value, and the covers blacken the
// screens.
#include <math.h>

#include "host/render/render.h"
#include "host/render/rules.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class EnginePicture : public HostTest, protected Picture {
protected:
    Gauge& lower = load({"broadcaster", "eicas_upper", "eicas_lower"});
    Gauge& upper = *host.find("eicas_upper");
    Renderer renderer{KESTREL_ARTWORK_DIR, rules::DAY};

    void SetUp() override {
        host.frame();
        host.registry.set("eicas", 1);
        host.sim.set(0x16C, 1);
    }
    void draw(Gauge& g, std::initializer_list<std::pair<uint32_t, double>> vars = {}) {
        for (const auto& [id, v] : vars) host.sim.set(id, v);
        host.frame();
        picture = renderer.gauge_picture(g);
        cairo_surface_flush(picture.get());
        for (const std::string& note : renderer.take_notes()) ADD_FAILURE() << note;
    }
    static bool white(uint32_t c) { return r(c) > 0x90 && g(c) > 0x90 && b(c) > 0x90; }
    static bool green(uint32_t c) { return g(c) > 0x90 && r(c) < 0x70 && b(c) < 0x70; }
    static bool dark(uint32_t c) { return r(c) < 0x30 && g(c) < 0x30 && b(c) < 0x30; }
    // Whether a pixel within one of (x, y) passes the test.
    bool near(double x, double y, bool (*test)(uint32_t)) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (test(px(int(lround(x)) + dx, int(lround(y)) + dy))) return true;
        return false;
    }
};

// A mark lies between radius 20.5 and the arc at 24.5; the needle reaches 26.
TEST_F(EnginePicture, EachNeedleCoversTheDialMarkForItsValue) {
    const struct {
        size_t element;
        uint32_t var;
        double to_value;  // from the needle's value to the variable's
        std::vector<double> marks;
        double away;      // a value far from every mark tried
    } dials[] = {
        {2, 0x270, 1, {0, 20, 50, 80, 100}, 110},
        {3, 0x283, 1, {0, 20, 50, 80, 100}, 110},
        {8, 0x237, 5.0 / 9, {0, 200, 500, 800}, 1000},
        {9, 0x241, 5.0 / 9, {0, 200, 500, 800}, 1000},
    };
    for (const auto& d : dials) {
        const auto* n = upper.element_as<NeedleElement>(d.element);
        const PixPoint pivot = n->header.position;
        const auto var_for = [&](double v) { return d.to_value == 1 ? v : v * 9 / 5 + 492; };
        for (double v : d.marks) {
            const double a = rules::needle_angle(n->table, n->table_count, pivot, v);
            const double x = pivot.x + 22.5 * cos(a), y = pivot.y + 22.5 * sin(a);
            draw(upper, {{d.var, var_for(d.away)}});
            EXPECT_TRUE(near(x, y, white)) << d.element << ": no mark for " << v;
            EXPECT_FALSE(near(x, y, green)) << d.element << " " << v;
            draw(upper, {{d.var, var_for(v)}});
            EXPECT_TRUE(near(x, y, green)) << d.element << ": the needle misses the mark for " << v;
            // Halfway out too: the needle runs straight from the pivot.
            EXPECT_TRUE(near(pivot.x + 12 * cos(a), pivot.y + 12 * sin(a), green)) << d.element << " " << v;
        }
    }
}

TEST_F(EnginePicture, CoversBlackenTheScreensUntilBothSwitchesAreOn) {
    for (int32_t eicas : {0, 1})
        for (Gauge* g : {&upper, &lower}) {
            host.registry.set("eicas", eicas);
            draw(*g, {{0x270, 50}, {0x282, 3.5}});
            bool lit = false;
            const int w = cairo_image_surface_get_width(picture.get()), h = cairo_image_surface_get_height(picture.get());
            for (int y = 0; y < h && !lit; ++y)
                for (int x = 0; x < w && !lit; ++x) lit = !dark(px(x, y));
            EXPECT_EQ(lit, eicas == 1) << g->name;
        }
}

}  // namespace
}  // namespace kestrel::test
