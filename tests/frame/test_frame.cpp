// The common frame of every module: service ids, the sound library binding,
// the one-shot first draw, the power rule, bounded text. Driven through the
// probe module, which uses every part of the frame.
#include <math.h>

#include "tests/support.h"

#include "frame/gauge.h"

namespace kestrel::test {
namespace {

enum { BACKGROUND, LAMP, NUMBER, CAPTION, DIGITS, DIAL, SLIDE, STRIP, TURN, TOGGLED, TICKS };
constexpr int32_t POWER_SWITCH[] = {5, 5};
constexpr int32_t SELECTOR[] = {45, 5};

class Frame : public HostTest {
protected:
    Gauge& g = load({"broadcaster", test_module("probe")});

    void click(const int32_t (&at)[2]) { host.click(g, at[0], at[1]); }
    std::string text(size_t i) { return state(g, i).text; }
    std::string number_text(double v) {
        host.sim.set(0x9001, v);
        host.frame();
        return text(NUMBER);
    }
};

TEST_F(Frame, ServiceIdsBeyondTheFiveDoNothing) {
    host.frame();
    click(SELECTOR);  // own state 1, "apu" 1
    host.registry.set("power", 1);
    host.frame();
    const std::vector<ElementState> before = g.state;
    const std::vector<char> records(reinterpret_cast<char*>(g.element(0)),
                                    reinterpret_cast<char*>(g.element(g.size() - 1)) + sizeof(IconElement));
    host.events.clear();
    for (uint32_t id : {0u, 1u, 3u, 5u, 7u, 8u, 9u, 11u, 13u, 14u, 15u, 16u, 17u, 18u, 100u, 0xFFFFFFFFu})
        host.service(g, id);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(records, std::vector<char>(reinterpret_cast<char*>(g.element(0)),
                                         reinterpret_cast<char*>(g.element(g.size() - 1)) + sizeof(IconElement)));
    EXPECT_EQ(host.registry.value("power"), 1);
    EXPECT_EQ(host.registry.value("apu"), 1);
    host.update_elements(g);
    EXPECT_EQ(g.state, before);
}

TEST_F(Frame, FirstDrawResetsOnceAndNeverAgain) {
    click(SELECTOR);
    host.registry.set("power", 1);
    host.frame();  // the first draw clears own state and bound shared variables
    EXPECT_EQ(host.registry.value("power"), 0);
    EXPECT_EQ(host.registry.value("apu"), 0);

    click(SELECTOR);
    host.registry.set("power", 1);
    host.frames(3);
    EXPECT_EQ(host.registry.value("power"), 1);
    EXPECT_EQ(state(g, TOGGLED).value[0], 1);

    // Killed and initialised again, the module keeps its first-draw flag.
    host.service(g, SERVICE_PRE_KILL);
    host.service(g, SERVICE_PRE_INITIALIZE);
    host.frame();
    EXPECT_EQ(host.registry.value("power"), 1);
    EXPECT_EQ(state(g, TOGGLED).value[0], 1);
}

TEST_F(Frame, PreUpdateRefreshesTheGaugesOwnSimulatorVariables) {
    host.sim.set(0x1, 1000);
    host.frame();
    EXPECT_EQ(state(g, TICKS).value[0], 1001);
    host.sim.set_frame_rate(6);  // a slow simulator: three ticks a frame
    host.frame();
    EXPECT_EQ(state(g, TICKS).value[0], 1004);
}

TEST_F(Frame, OnlyPowerExactlyOneLightsAndShowsTheLamp) {
    host.frame();
    for (int32_t power : {0, 1, 2, 3, -1, 1}) {
        host.registry.set("power", power);
        host.frame();
        EXPECT_EQ(bright(state(g, LAMP)), power == 1) << power;
        EXPECT_EQ(hidden(state(g, LAMP)), power != 1) << power;
        EXPECT_EQ(bright(state(g, NUMBER)), power == 1) << power;
        // Bits the callbacks do not own stay as the record had them.
        EXPECT_EQ(state(g, LAMP).flags & ~(IMAGE_BRIGHT | IMAGE_HIDDEN), IMAGE_DEFAULT);
    }
}

TEST_F(Frame, TogglesGoToOneFromZeroAndToZeroFromAnythingElse) {
    host.frame();
    for (auto [before, after] : {std::pair{0, 1}, {1, 0}, {3, 0}, {-7, 0}}) {
        host.registry.set("power", before);
        click(POWER_SWITCH);
        EXPECT_EQ(host.registry.value("power"), after) << before;
    }
    click(SELECTOR);
    host.frame();
    EXPECT_EQ(state(g, TOGGLED).value[0], 1);
    click(SELECTOR);
    host.frame();
    EXPECT_EQ(state(g, TOGGLED).value[0], 0);
}

TEST_F(Frame, NumbersAreRoundedToSinglePrecisionBeforeFormatting) {
    EXPECT_EQ(number_text(3.14159), "3.142");
    EXPECT_EQ(number_text(16777217), "16777216.000");  // not representable in single precision
    EXPECT_EQ(number_text(0.1), "0.100");
    EXPECT_EQ(number_text(-0.0), "-0.000");
    EXPECT_EQ(number_text(NAN), "nan");
    EXPECT_EQ(number_text(copysign(NAN, -1.0)), "nan");  // no "-nan": the same on every system
    EXPECT_EQ(number_text(INFINITY), "inf");
    EXPECT_EQ(number_text(-INFINITY), "-inf");
    EXPECT_EQ(number_text(1e300), "inf");
    EXPECT_EQ(number_text(-1e300), "-inf");
    EXPECT_EQ(number_text(3.4028235e38), "340282346638528859811704183484516925440.000");
    EXPECT_EQ(number_text(4e-50), "0.000");
}

TEST_F(Frame, TextNeverGoesPastItsBuffer) {
    // The caption's buffer holds 16 characters; the format asks for 804.
    for (double v : {0.0, double(NAN), double(INFINITY), -double(INFINITY), 1e300, -1e300, -0.0, 123456789.0}) {
        host.sim.set(0x9001, v);
        host.frame();
        EXPECT_EQ(text(CAPTION), "WIDE            ") << v;
        EXPECT_FALSE(g.overflowed) << v;
    }
    for (const Event& e : host.events) EXPECT_NE(e.kind, Event::Kind::Fault) << e.detail;
}

TEST_F(Frame, BinaryCodedDigitsPrintOneNumberPerNibble) {
    host.sim.set_bcd(0x9002, 0x1234);
    host.frame();
    EXPECT_EQ(text(DIGITS), "1234");
    host.sim.set_bcd(0x9002, 0xFA09);  // nibbles above 9 are garbage, printed as they are
    host.frame();
    EXPECT_EQ(text(DIGITS), "151009");
}

TEST_F(Frame, SoundsGoThroughTheLibraryOrTheSystem) {
    host.frame();
    sounds();
    click(POWER_SWITCH);
    host.hold(g, 25, 5, 1);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV",
                                                  "PlaySoundA sound\\SWITCH.WAV"}));
    host.unload("probe");
    EXPECT_EQ(sounds(), std::vector<std::string>{"TerminateSounds"});
}

TEST_F(Frame, TheLibraryIsBoundOnInitializeAndFoundAgainOnEveryUpdate) {
    // Loading above: LoadLibraryA on pre-initialize of each module.
    host.events.clear();
    host.frame();
    std::vector<std::string> calls = library_calls();
    EXPECT_EQ(calls, (std::vector<std::string>{"GetModuleHandleA GaugeSound found",
                                               "GetModuleHandleA GaugeSound found"}));
}

TEST_F(Frame, AfterPreKillTheLibraryIsForgottenAndLoadedAfresh) {
    host.frame();
    host.events.clear();
    host.service(g, SERVICE_PRE_KILL);
    EXPECT_EQ(library_calls(), (std::vector<std::string>{"GetModuleHandleA GaugeSound found",
                                                         "FreeLibrary GaugeSound found"}));
    // Nothing calls into a library that may be gone.
    click(POWER_SWITCH);
    EXPECT_TRUE(sounds().empty());
    EXPECT_EQ(host.registry.value("power"), 1);
    // The next pre-initialize loads it again, and the sounds come back.
    host.service(g, SERVICE_PRE_INITIALIZE);
    EXPECT_EQ(library_calls(), std::vector<std::string>{"LoadLibraryA GaugeSound found"});
    click(POWER_SWITCH);
    EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV"});
}

// Each module releases only the library reference it took: in any order of
// service calls, the library is never unloaded under a module that still
// calls into it.
TEST_F(Frame, AModuleKilledTwiceReleasesOnlyItsOwnReference) {
    Gauge& broadcaster = *host.find("broadcaster");
    host.frame();
    host.service(broadcaster, SERVICE_PRE_KILL);
    host.service(broadcaster, SERVICE_PRE_KILL);
    sounds();
    click(POWER_SWITCH);
    EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV"});
}

class FrameAlone : public HostTest {};

TEST_F(FrameAlone, AModuleUpdatedBeforeItsInitializeHoldsItsOwnReference) {
    std::string error;
    ASSERT_TRUE(host.load({"broadcaster", test_module("probe")}, &error, Host::Steps::Install)) << error;
    host.frame();  // the broadcaster loads the library, the probe finds it loaded
    host.unload("broadcaster");
    sounds();
    host.click(*host.find("probe"), POWER_SWITCH[0], POWER_SWITCH[1]);
    EXPECT_EQ(sounds(), std::vector<std::string>{"GaugePlaySound sound\\CLICK.WAV"});
}

TEST_F(FrameAlone, PreKillBeforePreInitializeLoadsAndReleasesTheLibraryOnce) {
    std::string error;
    ASSERT_TRUE(host.load({test_module("probe")}, &error, Host::Steps::None)) << error;
    host.events.clear();
    host.service(*host.find("probe"), SERVICE_PRE_KILL);
    EXPECT_EQ(library_calls(), (std::vector<std::string>{"GetModuleHandleA GaugeSound missing",
                                                         "LoadLibraryA GaugeSound found",
                                                         "FreeLibrary GaugeSound found"}));
}

class WithoutSoundLibrary : public HostTest {
protected:
    WithoutSoundLibrary() : HostTest(false) {}
};

TEST_F(WithoutSoundLibrary, EveryActionHappensWithoutItsSound) {
    Gauge& g = load({"broadcaster", test_module("probe")});
    host.frame();
    host.click(g, POWER_SWITCH[0], POWER_SWITCH[1]);
    EXPECT_EQ(host.registry.value("power"), 1);
    host.hold(g, 25, 5, 2);
    EXPECT_EQ(keys(), (std::vector<uint32_t>{0x10003, 0x10003}));
    host.unload("probe");
    // The system's own player is always there; the library's calls are skipped.
    for (const std::string& s : sounds()) EXPECT_EQ(s, "PlaySoundA sound\\SWITCH.WAV");
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

// Conversions to 32-bit integers in the modules never go through an
// undefined cast: NaN reads 0, the range's ends hold.
TEST(FrameNumbers, ToInt32TruncatesAndSaturates) {
    const struct {
        double in;
        int32_t out;
    } cases[] = {
        {0.0, 0},         {-0.0, 0},         {2.9, 2},           {-2.9, -2},
        {NAN, 0},         {-NAN, 0},         {INFINITY, INT32_MAX}, {-INFINITY, INT32_MIN},
        {1e300, INT32_MAX}, {-1e300, INT32_MIN}, {2147483647.5, INT32_MAX},
        {2147483646.9, 2147483646}, {-2147483648.9, INT32_MIN}, {-2147483647.9, -2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(to_int32(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace kestrel::test
