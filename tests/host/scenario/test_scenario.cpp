// Scenarios: the text format, its transcript, and the mouse actions it
// drives.
#include "tests/support.h"

namespace kestrel::test {
namespace {

class Scenarios : public HostTest {
protected:
    Scenario scenario{host, "test.kes"};

    std::string run(const std::string& text) {
        EXPECT_TRUE(scenario.run_text(text)) << scenario.error();
        return scenario.take_transcript();
    }
    static bool has(const std::string& transcript, const std::string& line) {
        return transcript.find(line) != std::string::npos;
    }
};

TEST_F(Scenarios, TranscriptShowsWhatTheModulesDid) {
    const std::string t = run(
        "load broadcaster flap_lever\n"
        "frames 1\n"
        "shared power 1\n"
        "click flap_lever 20 90   # lower half\n"
        "frames 1\n");
    EXPECT_TRUE(has(t, "> load broadcaster flap_lever\n  register adfvor (broadcaster)\n"));
    EXPECT_TRUE(has(t, "  bind power (flap_lever)\n"));
    EXPECT_TRUE(has(t, "  frame 1 (tick 1)\n    broadcaster[0] static\n"));
    EXPECT_TRUE(has(t, "    flap_lever[3] text \"FLAPS{399 blanks}0\"\n"));
    EXPECT_TRUE(has(t, "> click flap_lever 20 90\n  key 0x100DE 0 (flap_lever)\n  sim 0x148 = 3276.8\n"));
    // Only what changed is shown again.
    EXPECT_TRUE(has(t, "  frame 2 (tick 2)\n    flap_lever[1] icon frame 0 bright\n"
                       "    flap_lever[2] icon frame 1 bright\n"
                       "    flap_lever[3] text \"FLAPS{399 blanks}0\" bright\n"));
}

TEST_F(Scenarios, ExpectationsCountAndReport) {
    run("load broadcaster flap_lever\n"
        "frames 1\n"
        "expect flap_lever[2] frame 0\n"
        "expect flap_lever[3] text \"FLAPS{399 blanks}0\"  # a comment after the text\n"
        "expect flap_lever[3] unlit\n"
        "expect shared power 0\n"
        "click flap_lever 20 20\n"
        "expect keys 0x100DF\n"
        "expect var 0x148 0\n");
    EXPECT_EQ(scenario.expectations(), 6);
    EXPECT_EQ(scenario.failures(), 0);
    const std::string t = run("expect flap_lever[2] frame 3\nexpect keys 0x100DE\n");
    EXPECT_EQ(scenario.failures(), 2);
    EXPECT_TRUE(has(t, "EXPECTATION FAILED: flap_lever[2] frame is 0, expected 3"));
    EXPECT_TRUE(has(t, "EXPECTATION FAILED: keys were none, expected 0x100DE"));
}

TEST_F(Scenarios, BadLinesAreRefusedWithTheirLineNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"frames 1\nclik flap_lever 1 2\n", "test.kes:2: unknown command 'clik'"},
        {"click nothing 1 2\n", "test.kes:1: no gauge 'nothing' is loaded"},
        {"set 0x148\n", "test.kes:1: usage: set ID VALUE"},
        {"frames many\n", "test.kes:1: not a duration: many (0 to 100000000 frames, or 0s to 10000000s)"},
        {"shared power 1\n", "test.kes:1: no shared variable 'power' is registered"},
    };
    for (const auto& c : cases) {
        Scenario s(host, "test.kes");
        EXPECT_FALSE(s.run_text(c.text));
        EXPECT_EQ(s.error(), c.error);
    }
}

TEST_F(Scenarios, FirstAreaInListOrderTakesTheClick) {
    load({"broadcaster", test_module("probe")});
    run("frames 1\nclick probe 5 5\nclick probe 15 15\nclick probe 60 60\n");
    EXPECT_EQ(keys(), std::vector<uint32_t>{0x10002});  // (5, 5) went to the power switch
    EXPECT_EQ(host.registry.value("power"), 1);
}

TEST_F(Scenarios, AHeldRepeatingAreaIsCalledOncePerFrame) {
    load({test_module("probe")});
    const std::string t = run("hold probe 25 5 5\n");
    EXPECT_EQ(keys(), std::vector<uint32_t>(5, 0x10003));
    EXPECT_TRUE(has(t, "  frame 5 (tick 5)\n"));
    // A plain click area held down is called once.
    run("hold probe 5 5 1s\n");
    EXPECT_EQ(host.sim.frame(), 23u);
}

TEST_F(Scenarios, ADragCallsTheAreaOnEveryStep) {
    load({test_module("probe")});
    run("drag probe 35 5 35 95 4\n");
    EXPECT_EQ(keys(), std::vector<uint32_t>(4, 0x10004));
    run("drag probe 5 5 35 5 4\n");  // starts on a click-only area: no drag calls
    EXPECT_TRUE(keys().empty());
}

TEST_F(Scenarios, ASlowerFrameRateSkipsTicks) {
    run("fps 6\nframes 2\nexpect var 0x1 6\nseconds 1\nexpect var 0x1 24\n");
    EXPECT_EQ(scenario.failures(), 0);
}

TEST_F(Scenarios, TheSoundLibraryCanBeTakenAway) {
    load({"broadcaster", test_module("probe")});
    // The module comes back by its path, which a scenario line cannot carry
    // when the path has blanks: loaded as the scenario's "load" loads it.
    run("frames 1\nsound-library off\nunload probe\n");
    load({test_module("probe")});
    run("click probe 5 5\n");
    EXPECT_EQ(host.registry.value("power"), 1);
    for (const std::string& s : sounds()) EXPECT_NE(s, "GaugePlaySound sound\\CLICK.WAV");
}

}  // namespace
}  // namespace kestrel::test
