// The live panel's session: what a browser's words do to the panel, and what
// goes back (kestrel serve without the network).
#include <string.h>

#include <algorithm>
#include <memory>

#include <nlohmann/json.hpp>

#include "host/files.h"
#include "tests/support.h"
#include "viewer/live.h"

namespace kestrel::test {
namespace {

LiveOptions live_options() {
    LiveOptions o;
    o.host = options();
    o.artwork_dir = KESTREL_ARTWORK_DIR;
    o.panel = SOURCE_DIR "/panels/a320/panel.cfg";
    o.scenarios = {SOURCE_DIR "/panels/a320/demo.kes"};
    o.sound_dir = KESTREL_SOUND_DIR;
    return o;
}

struct Picture {
    int window, x, y, width, height;
    std::string png;
};

struct Sent {
    std::vector<std::string> texts;
    std::vector<Picture> pictures;
    std::string all_text() const {
        std::string s;
        for (const std::string& t : texts) s += t + "\n";
        return s;
    }
};

Sent sent(const std::vector<Outgoing>& out) {
    Sent s;
    for (const Outgoing& o : out) {
        if (!o.binary) {
            s.texts.push_back(o.data);
            continue;
        }
        // One message holds the update's pictures, each with its header.
        for (size_t at = 0; at + PICTURE_HEADER <= o.data.size();) {
            auto byte = [&](size_t i) { return uint32_t(uint8_t(o.data[at + i])); };
            auto word = [&](int i) { return int(byte(i * 2) | byte(i * 2 + 1) << 8); };
            const uint32_t length = byte(12) | byte(13) << 8 | byte(14) << 16 | byte(15) << 24;
            EXPECT_LE(at + PICTURE_HEADER + length, o.data.size());
            s.pictures.push_back({word(0), word(1), word(2), word(3), word(4), o.data.substr(at + PICTURE_HEADER, length)});
            at += PICTURE_HEADER + length;
        }
    }
    return s;
}

// A PNG's size, from its header.
void png_size(const std::string& png, int* w, int* h) {
    ASSERT_GE(png.size(), 24u);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    auto be = [&](size_t at) {
        return int(uint8_t(png[at]) << 24 | uint8_t(png[at + 1]) << 16 | uint8_t(png[at + 2]) << 8 | uint8_t(png[at + 3]));
    };
    *w = be(16);
    *h = be(20);
}

class Live : public ::testing::Test {
protected:
    Live() : session(std::make_unique<LiveSession>(live_options())) {}
    void ok(const std::string& message) { EXPECT_EQ(session->handle(message), "") << message; }
    // Frames run with the panel paused, one at a time.
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            ok("step");
            session->advance(0);
        }
    }
    int32_t shared(const char* name) { return session->host().registry.value(name); }
    uint64_t frame() { return session->host().sim.frame(); }
    int count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    std::unique_ptr<LiveSession> session;
};

TEST_F(Live, RefusesMalformedMessagesAndChangesNothing) {
    ok("pause");
    const uint64_t before = frame();
    const struct {
        std::string message, why;
    } cases[] = {
        {"", "empty"},
        {"   # only a comment", "empty"},
        {"fly", "unknown command 'fly'"},
        {"press 0 1", "usage: press"},
        {"press 7 1 1", "usage: press"},
        {"press 0 99999999999 1", "usage: press"},
        {"move 0 x 1", "usage: move"},
        {"release now", "usage: release"},
        {"set 0x148", "usage: set ID VALUE"},
        {"set flaps 1", "usage: set ID VALUE"},
        {"set 0x148 bcd 12x", "usage: set ID bcd"},
        {"shared nothing 1", "no shared variable 'nothing'"},
        {"shared power 99999999999", "not a 32-bit value"},
        {"shared power one", "usage: shared"},
        {"model nothing on", "no model 'nothing'"},
        {"model all maybe", "usage: model"},
        {"speed 3", "usage: speed"},
        {"light noon", "usage: light"},
        {"scenario ../../../etc/passwd", "no scenario"},
        {"scenario demo.kes now", "usage: scenario"},
        {"seek 10", "no scenario is playing"},
        {"watch nothing", "usage: watch"},
        {std::string(5000, 'x'), "at most 1024 bytes"},
        {std::string("set 0x148\0 1", 12), "a message is text"},
    };
    for (const auto& c : cases) EXPECT_NE(session->handle(c.message).find(c.why), std::string::npos) << c.message;
    session->advance(1);
    EXPECT_EQ(frame(), before);
    EXPECT_EQ(shared("power"), 0);
    EXPECT_EQ(session->host().sim.get(0x148), 0);
    EXPECT_FALSE(session->running());
}

TEST_F(Live, PassesExtremeValuesOnToTheModules) {
    ok("shared power 1");
    for (const char* v : {"nan", "inf", "-inf", "1e300", "-1e300", "-0", "4294967296"}) {
        for (const char* id : {"0x148", "0x16C", "0x3D", "0x4A", "0x51", "0x4E"}) ok(std::string("set ") + id + " " + v);
        frames(2);
        const Sent s = sent(session->update());
        for (const std::string& t : s.texts)
            for (unsigned char c : t) ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "not plain JSON text: " << t;
    }
    ok("set 0x18 bcd 0xFFFFFFFF");
    frames(1);
    EXPECT_NE(sent(session->update()).all_text().find("\"v\":\"bcd 0xFFFFFFFF\""), std::string::npos);
}

TEST_F(Live, SendsOnlyTheGaugesThatChanged) {
    ok("pause");
    ok("model all off");  // the panel stands still but for what the page does
    frames(2);
    session->update();
    frames(1);
    EXPECT_TRUE(sent(session->update()).pictures.empty()) << "nothing changed, nothing drawn";

    // Flaps down one position: the gauges that show the flap handle are
    // drawn again and sent (the lever, and the engine display's flap
    // indication where it is built), each its own box; the rest stays.
    ok("press 0 854 790");
    ok("release");
    frames(1);
    const Sent s = sent(session->update());
    bool lever = false;
    for (const Picture& p : s.pictures) {
        EXPECT_EQ(p.window, 0);
        const PanelGauge* inside = nullptr;
        for (const PanelGauge& e : session->config().windows[0].gauges)
            if (p.x >= e.x && p.y >= e.y && p.x + p.width <= e.x + std::max(e.width, 1) &&
                p.y + p.height <= e.y + std::max(e.height, 1))
                inside = &e;
        ASSERT_NE(inside, nullptr) << p.x << "," << p.y << " " << p.width << "x" << p.height;
        EXPECT_TRUE(inside->module == "flap_lever" || inside->module.rfind("eicas", 0) == 0) << inside->module;
        lever = lever || inside->module == "flap_lever";
        int w = 0, h = 0;
        png_size(p.png, &w, &h);
        EXPECT_EQ(w, p.width);
        EXPECT_EQ(h, p.height);
    }
    EXPECT_TRUE(lever);
    EXPECT_NE(s.all_text().find("key 0x100DE 0: flaps down"), std::string::npos);
    EXPECT_NE(s.all_text().find("\"id\":\"0x148\",\"v\":\"3276.8\""), std::string::npos);
}

TEST_F(Live, SnapshotIsTheWholePanel) {
    const Sent s = sent(session->snapshot());
    ASSERT_EQ(s.texts.size(), 2u);
    EXPECT_EQ(s.texts[0].rfind("{\"t\":\"layout\"", 0), 0u);
    EXPECT_NE(s.texts[0].find("\"module\":\"flap_lever\",\"x\":834,\"y\":700"), std::string::npos);
    EXPECT_NE(s.texts[0].find("\"scenarios\":[\"demo.kes\"]"), std::string::npos);
    EXPECT_NE(s.texts[1].find("{\"name\":\"power\",\"v\":0,\"owner\":\"broadcaster\",\"binders\":["),
              std::string::npos);
    ASSERT_EQ(s.pictures.size(), 1u);
    int w = 0, h = 0;
    png_size(s.pictures[0].png, &w, &h);
    EXPECT_EQ(w, 1290);
    EXPECT_EQ(h, 1100);
}

TEST_F(Live, TimeRunsPausesStepsAndSkipsTicks) {
    const uint64_t start = frame();
    for (int i = 0; i < 18; ++i) session->advance(1.0 / 18);
    EXPECT_EQ(frame(), start + 18) << "a second at x1";
    ok("speed 4");
    for (int i = 0; i < 18; ++i) session->advance(1.0 / 18);
    EXPECT_EQ(frame(), start + 18 + 72) << "a second at x4";
    session->advance(60);
    EXPECT_LE(frame(), start + 18 + 72 + 15) << "a stall is not caught up in a burst";

    ok("pause");
    const uint64_t paused = frame();
    session->advance(1);
    EXPECT_EQ(frame(), paused);
    const double tick = session->host().sim.get(VAR_TICKS);
    ok("step");
    session->advance(0);
    EXPECT_EQ(frame(), paused + 1);
    EXPECT_EQ(session->host().sim.get(VAR_TICKS), tick + 1);
    ok("slow");
    session->advance(0);
    EXPECT_EQ(frame(), paused + 2);
    EXPECT_EQ(session->host().sim.get(VAR_TICKS), tick + 4) << "a slow frame skips ticks";
    EXPECT_EQ(session->host().sim.frame_rate(), 18u);
}

TEST_F(Live, MouseClicksAndHoldsAsScenariosDo) {
    ok("pause");
    ok("press 0 300 77");  // the avionics switch
    ok("release");
    frames(1);
    EXPECT_EQ(shared("power"), 1);

    ok("set 0x16C 1");
    ok("press 0 651 106");  // ENG 1's cover
    ok("release");
    frames(1);  // the gauge reads the battery master at its next frame
    session->update();
    ok("press 0 652 122");  // ENG 1's start button, held: once on press, again before each further frame
    frames(5);
    ok("release");
    frames(3);
    EXPECT_EQ(count(sent(session->update()).all_text(), "key 0x102FC"), 5);
    EXPECT_EQ(session->host().sim.get(0x233), 0) << "the starter stops with the button";
}

TEST_F(Live, PlaysAScenarioAsKestrelRunDoes) {
    // The demo flight under the scenario runner, then played frame by frame.
    std::vector<std::string> run_events;
    std::map<uint32_t, double> run_vars;
    int expectations = 0;
    std::string text;
    {
        FILE* f = fopen(SOURCE_DIR "/panels/a320/demo.kes", "rb");
        ASSERT_NE(f, nullptr);
        char chunk[4096];
        size_t n;
        while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
        fclose(f);
    }
    auto describe = [](const Event& e) {
        return e.gauge + "|" + e.name + "|" + e.detail + "|" + std::to_string(e.number) + "|" + std::to_string(e.value);
    };
    session.reset();
    {
        Host host(options());
        Scenario scenario(host, "demo.kes");
        ASSERT_TRUE(scenario.run_text(text)) << scenario.error();
        EXPECT_EQ(scenario.failures(), 0);
        expectations = scenario.expectations();
        for (const Event& e : host.events) run_events.push_back(describe(e));
        for (const auto& [id, v] : host.sim.vars()) run_vars[id] = v.value;
    }
    session = std::make_unique<LiveSession>(live_options());
    ok("pause");
    ok("scenario demo.kes");
    for (int i = 0; i < 5000 && !session->player()->finished(); ++i) frames(1);
    ASSERT_TRUE(session->player()->finished());
    EXPECT_EQ(session->player()->error(), "");
    EXPECT_EQ(session->player()->failures(), 0);
    EXPECT_EQ(session->player()->expectations(), expectations);
    std::vector<std::string> played;
    for (const Event& e : session->host().events) played.push_back(describe(e));
    ASSERT_EQ(played.size(), run_events.size());
    for (size_t i = 0; i < run_events.size(); ++i) ASSERT_EQ(played[i], run_events[i]) << "event " << i;
    std::map<uint32_t, double> vars;
    for (const auto& [id, v] : session->host().sim.vars()) vars[id] = v.value;
    EXPECT_EQ(vars, run_vars);

    // A seek plays the flight again, at once, up to the phase asked for.
    const size_t phase = session->player()->phases().at(3).line;
    ok("seek " + std::to_string(phase));
    EXPECT_GE(session->player()->line(), phase);
    EXPECT_LE(session->player()->line(), phase + 8);
    EXPECT_EQ(session->player()->failures(), 0);
}

TEST_F(Live, ResetLoadsThePanelAgain) {
    const size_t loaded = session->host().gauges().size();
    ok("shared power 1");
    ok("model all off");
    ok("model waypoint on");
    frames(30);
    ok("reset");
    EXPECT_EQ(shared("power"), 0) << "every gauge clears what it binds at its first frame";
    EXPECT_LE(frame(), 1u);
    EXPECT_TRUE(session->host().sim.model_enabled("waypoint"));
    for (const SimModel* m : sim_models())
        EXPECT_EQ(session->host().sim.model_enabled(m->name), std::string(m->name) == "waypoint") << m->name;
    EXPECT_EQ(session->host().gauges().size(), loaded);
    EXPECT_NE(sent(session->update()).texts.at(0).find("\"t\":\"layout\""), std::string::npos);
}

// Names in any language reach the page as UTF-8; a module's text in a
// Windows code page arrives as the Latin-1 it would be, in valid JSON.
TEST(LiveText, NonAsciiNamesAndModuleTextsGiveValidJson) {
    const std::string dir = testing::TempDir() + "/kestrel live \xE6\x97\xA5\xE6\x9C\xAC";
    std::string error;
    ASSERT_TRUE(make_dirs(dir, &error)) << error;
    const std::string panel = dir + "/pan\xC3\xA9l.cfg", scenario = dir + "/\xC3\xA9t\xC3\xA9.kes";
    const std::string cfg = "[Window Titles]\nWindow00=Cockpit \xC3\xBC\xFF\n[Window00]\nsize_mm=100,100\n"
                            "gauge00=probe!KESTREL, 0, 0\n";
    ASSERT_TRUE(write_file(panel, cfg.data(), cfg.size()));
    const std::string play = "## Stufe \xC3\xBC\nframes 1\n";
    ASSERT_TRUE(write_file(scenario, play.data(), play.size()));
    LiveOptions o = live_options();
    o.host.gauge_dir = TEST_GAUGE_DIR;
    o.panel = panel;
    o.scenarios = {scenario};
    LiveSession session(o);
    // Every message parsed: nlohmann throws on invalid UTF-8.
    auto texts = [&] {
        std::vector<nlohmann::json> messages;
        for (const Outgoing& out : session.snapshot())
            if (!out.binary) messages.push_back(nlohmann::json::parse(out.data));
        return messages;
    };
    const nlohmann::json layout = texts().at(0);
    EXPECT_EQ(layout.at("panel"), panel);
    EXPECT_EQ(layout.at("windows").at(0).at("title"), "Cockpit \xC3\xBC\xC3\xBF");
    EXPECT_EQ(layout.at("scenarios"), nlohmann::json::array({"\xC3\xA9t\xC3\xA9.kes"}));
    // The mouse areas by name, the knob's own tooltip with them.
    const nlohmann::json& areas = layout.at("entries").at(0).at("areas");
    ASSERT_EQ(areas.size(), 5u);
    EXPECT_EQ(areas[2], nlohmann::json::parse(R"({"x":20,"y":0,"width":10,"height":10,"cursor":"n-resize",
                                                  "flags":)" + std::to_string(MOUSE_LEFT_REPEAT) +
                                              R"(,"tooltip":"KNOB 10\u00b0"})"));
    EXPECT_EQ(layout.at("entries").at(0).at("tooltip"), "PROBE");
    EXPECT_FALSE(areas[3].contains("tooltip"));

    EXPECT_EQ(session.handle("scenario \xC3\xA9t\xC3\xA9.kes"), "");
    session.advance(0);
    const std::vector<nlohmann::json> playing = texts();
    EXPECT_EQ(playing.at(0).at("scenario").at("name"), "\xC3\xA9t\xC3\xA9.kes");
    EXPECT_EQ(playing.at(0).at("scenario").at("phases").at(0), nlohmann::json::parse("[1,\"Stufe \xC3\xBC\"]"));
    const std::string log = playing.at(1).at("log").dump();
    EXPECT_NE(log.find("scenario \xC3\xA9t\xC3\xA9.kes"), std::string::npos) << log;
    // Text is sent as it is: no byte of valid UTF-8 escaped.
    EXPECT_EQ(json_message({{"message", "no scenario '\xC3\xA9.kes' is offered\t\x01"}}),
              "{\"message\":\"no scenario '\xC3\xA9.kes' is offered\\t\\u0001\"}");
}

}  // namespace
}  // namespace kestrel::test
