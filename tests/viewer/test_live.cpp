// The live panel's session: what a browser's words do to the panel, and what
// goes back (kestrel serve without the network).
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
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
    o.panel = SOURCE_DIR "/panels/development/panel.cfg";
    o.scenarios = {SOURCE_DIR "/panels/development/demo.kes"};
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
        FILE* f = fopen(SOURCE_DIR "/panels/development/demo.kes", "rb");
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

// ---------------------------------------------------------------------------
// Editing the panel file: the session lines place, add, remove, window,
// undo, redo, save and reload, on a copy of the cockpit panel in a folder
// with blanks and non-ASCII letters.

std::string bytes_of(const std::string& path) {
    std::string out;
    read_whole_file(path, &out);
    return out;
}

std::vector<std::string> lines_of(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t nl; (nl = bytes.find('\n', start)) != std::string::npos; start = nl + 1)
        out.push_back(bytes.substr(start, nl - start));
    out.push_back(bytes.substr(start));
    return out;
}

class LiveEdit : public ::testing::Test {
public:  // the cases' checks reach in
    LiveEdit() {
        dir = testing::TempDir() + "/kestrel studio \xC3\xA9t\xC3\xA9 " + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string error;
        EXPECT_TRUE(make_dirs(dir, &error)) << error;
        panel = dir + "/panel.cfg";
        for (const std::string& leftover : {panel, panel + ".bak", panel + ".bak2"}) remove(leftover.c_str());
        original = bytes_of(SOURCE_DIR "/panels/development/panel.cfg");
        EXPECT_TRUE(write_file(panel, original.data(), original.size()));
        LiveOptions o = live_options();
        o.panel = panel;
        session = std::make_unique<LiveSession>(o);
        session->update();
        ok("pause");
    }
    ~LiveEdit() override {
        session.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    void ok(const std::string& message) { EXPECT_EQ(session->handle(message), "") << message; }
    const PanelWindow& window(size_t i = 0) { return session->config().windows.at(i); }
    const PanelGauge* entry(int number, size_t w = 0) {
        for (const PanelGauge& g : window(w).gauges)
            if (g.number == number) return &g;
        return nullptr;
    }
    Gauge* gauge(const char* module) { return session->host().find(module); }
    // The messages of the next update, parsed.
    std::vector<nlohmann::json> messages() {
        session->advance(0);
        std::vector<nlohmann::json> out;
        for (const Outgoing& o : session->update())
            if (!o.binary) out.push_back(nlohmann::json::parse(o.data));
        return out;
    }
    static const nlohmann::json* find(const std::vector<nlohmann::json>& list, const char* kind) {
        for (const nlohmann::json& m : list)
            if (m.at("t") == kind) return &m;
        return nullptr;
    }
    std::string dir, panel, original;
    std::unique_ptr<LiveSession> session;
};

TEST_F(LiveEdit, EachEditChangesTheRunningPanel) {
    Gauge* const flaps = gauge("flap_lever");
    ASSERT_NE(flaps, nullptr);
    Gauge* const pfd = gauge("pfd");
    const struct {
        const char* line;
        std::function<void(LiveEdit&)> check;
    } cases[] = {
        {"place 0 27 840 705 93 122",
         [&](LiveEdit& t) {
             EXPECT_EQ(t.entry(27)->x, 840);
             EXPECT_EQ(t.entry(27)->y, 705);
             EXPECT_EQ(t.gauge("flap_lever"), flaps) << "a gauge moved keeps running";
         }},
        {"place 0 10 10 290 160 180",
         [&](LiveEdit& t) {
             EXPECT_EQ(t.entry(10)->width, 160);
             EXPECT_EQ(t.entry(10)->height, 180);
             EXPECT_EQ(t.gauge("pfd"), pfd);
         }},
        {"window 0 background_color 10 20 30", [](LiveEdit& t) { EXPECT_EQ(t.window().background, 0x0A141Eu); }},
        {"remove 0 27",
         [](LiveEdit& t) {
             EXPECT_EQ(t.gauge("flap_lever"), nullptr) << "no entry names it: its pre-kill, and gone";
             EXPECT_EQ(t.window().gauges.size(), 30u);
             EXPECT_EQ(t.entry(27)->module, "spoiler_lever") << "those after it move down one number";
         }},
        {"add 0 flap_lever!KESTREL 834 700",
         [](LiveEdit& t) {
             ASSERT_NE(t.gauge("flap_lever"), nullptr) << "loaded as the panel loads it";
             EXPECT_EQ(t.entry(30)->module, "flap_lever");
             EXPECT_EQ(t.entry(30)->width, 0) << "its own size";
         }},
        {"undo", [](LiveEdit& t) { EXPECT_EQ(t.gauge("flap_lever"), nullptr); }},
        {"redo", [](LiveEdit& t) { EXPECT_NE(t.gauge("flap_lever"), nullptr); }},
        {"add 0 rmi!KESTREL 10 900 121",
         [](LiveEdit& t) {
             EXPECT_EQ(t.window().gauges.size(), 32u);
             EXPECT_EQ(t.entry(31)->width, 121);
         }},
        {"window 1 title Pedestal \xC3\xBC",
         [](LiveEdit& t) {
             ASSERT_EQ(t.session->config().windows.size(), 2u);
             EXPECT_EQ(t.window(1).title, "Pedestal \xFC") << "in the simulator's code page, as the file is not UTF-8";
         }},
        {"window 1 visible 0", [](LiveEdit& t) { EXPECT_FALSE(t.window(1).visible); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ok(c.line);
        c.check(*this);
        const std::vector<nlohmann::json> sent = messages();
        const nlohmann::json* layout = find(sent, "layout");
        ASSERT_NE(layout, nullptr) << "the layout goes to the browsers";
        size_t entries = 0;
        for (const PanelWindow& w : session->config().windows) entries += w.gauges.size();
        EXPECT_EQ(layout->at("entries").size(), entries);
        const nlohmann::json* state = find(sent, "state");
        ASSERT_NE(state, nullptr);
        EXPECT_TRUE(state->at("file").at("modified"));
        EXPECT_NE(state->at("log").dump().find("\"page\""), std::string::npos);
    }
    EXPECT_EQ(bytes_of(panel), original) << "nothing is written before save";
    // The panel runs on with its edits.
    for (int i = 0; i < 3; ++i) ok("step");
    session->advance(0);
    EXPECT_EQ(session->host().gauges().size(), 31u);
}

TEST_F(LiveEdit, SaveWritesExactlyTheEditedLine) {
    ok("place 0 27 840 705 93 122");
    ok("save");
    const std::vector<std::string> before = lines_of(original), after = lines_of(bytes_of(panel));
    ASSERT_EQ(after.size(), before.size());
    std::vector<size_t> changed;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) changed.push_back(i + 1);
    ASSERT_EQ(changed, std::vector<size_t>{size_t(entry(27)->line)});
    EXPECT_EQ(after[changed[0] - 1], "gauge27=flap_lever!KESTREL, 840, 705, 93, 122");
    EXPECT_EQ(bytes_of(panel + ".bak"), original) << "the file as it was, kept beside it";
    const std::vector<nlohmann::json> sent_now = messages();
    const nlohmann::json* state = find(sent_now, "state");
    ASSERT_NE(state, nullptr);
    EXPECT_FALSE(state->at("file").at("modified"));
    EXPECT_EQ(state->at("file").at("backup"), panel + ".bak");

    // A second save keeps the first backup.
    ok("window 0 visible 1");
    ok("save");
    EXPECT_EQ(bytes_of(panel + ".bak"), original);
    EXPECT_FALSE(exists(panel + ".bak2"));
}

TEST_F(LiveEdit, RefusalsLeaveEverythingAsItWas) {
    const struct {
        const char* line;
        const char* why;
    } cases[] = {
        {"place 0 99 1 1", "has no gauge99"},
        {"place 5 0 1 1", "no Window05"},
        {"place 0 27 1", "expected place"},
        {"place 0 27 x 1", "not a whole number"},
        {"place 0 27 1 1 0 50", "a height needs a width"},
        {"place 0 27 99999 1", "not a whole number"},
        {"add 0 ../flap_lever!KESTREL 1 1", "not a module name"},
        {"add 0 flap_lever!KESTREL,x 1 1", "comma"},
        {"remove 0", "expected remove"},
        {"remove 0 31", "has no gauge31"},
        {"window 0 colour 1", "not a window key"},
        {"window 0 title a // b", "comment"},
        {"window 3 title Three", "adds the next window"},
        {"window 0 file ../x.bmp", "not a file beside panel.cfg"},
        {"window 0 title Cockpit \xE6\x97\xA5", "code page 1252, which has no character U+65E5"},
        {"undo", "nothing to undo"},
        {"redo", "nothing to redo"},
        {"save now", "usage: save"},
        {"reload please", "usage: reload"},
    };
    Gauge* const flaps = gauge("flap_lever");
    const std::string text = session->document().text();
    messages();
    for (const auto& c : cases) {
        const std::string why = session->handle(c.line);
        EXPECT_NE(why.find(c.why), std::string::npos) << c.line << ": " << why;
        EXPECT_EQ(session->document().text(), text) << c.line;
        EXPECT_EQ(find(messages(), "layout"), nullptr) << c.line;
    }
    EXPECT_EQ(gauge("flap_lever"), flaps);
    EXPECT_EQ(session->host().gauges().size(), 31u);
    EXPECT_EQ(bytes_of(panel), original);
    EXPECT_FALSE(exists(panel + ".bak"));
}

TEST_F(LiveEdit, SaveRefusedWhenTheFileChangedOnDiskThenReload) {
    ok("place 0 27 840 705");
    // Another program writes the file meanwhile.
    std::string theirs = original;
    const std::string was = "gauge30=gear_handle!KESTREL, 1008, 740,";
    const size_t at = theirs.find(was);
    ASSERT_NE(at, std::string::npos);
    theirs.replace(at, was.size(), "gauge30=gear_handle!KESTREL, 1009, 741,");
    ASSERT_TRUE(write_file(panel, theirs.data(), theirs.size()));
    const std::string why = session->handle("save");
    EXPECT_NE(why.find("changed on disk"), std::string::npos) << why;
    EXPECT_EQ(bytes_of(panel), theirs) << "their file is not overwritten";
    EXPECT_FALSE(exists(panel + ".bak"));
    const std::vector<nlohmann::json> sent_now = messages();
    const nlohmann::json* state = find(sent_now, "state");
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->at("file").at("conflict"));

    ok("reload");
    EXPECT_EQ(session->document().text(), theirs);
    ASSERT_NE(entry(30), nullptr);
    EXPECT_EQ(entry(30)->x, 1009);
    EXPECT_EQ(entry(27)->x, 834) << "the edit not saved is gone";
    const std::vector<nlohmann::json> sent = messages();
    ASSERT_NE(find(sent, "layout"), nullptr);
    EXPECT_FALSE(find(sent, "state")->at("file").at("conflict"));
    EXPECT_FALSE(find(sent, "state")->at("file").at("modified"));
    ok("place 0 27 840 705");
    ok("save");
    EXPECT_EQ(bytes_of(panel + ".bak"), theirs);
}

TEST_F(LiveEdit, WhileAScenarioPlaysItsModulesAreItsOwn) {
    ok("scenario demo.kes");
    for (int i = 0; i < 5; ++i) ok("step");
    session->advance(0);
    Gauge* const flaps = gauge("flap_lever");
    ASSERT_NE(flaps, nullptr) << "the scenario loaded it";
    const size_t loaded = session->host().gauges().size();
    ok("remove 0 27");
    EXPECT_EQ(gauge("flap_lever"), flaps) << "not unloaded under the scenario";
    EXPECT_EQ(session->host().gauges().size(), loaded);
    EXPECT_EQ(entry(27)->module, "spoiler_lever") << "the file is edited all the same";
    ok("stop");
    ok("reset");
    EXPECT_EQ(gauge("flap_lever"), nullptr) << "Reset loads the panel as edited";
}

TEST_F(LiveEdit, TheCheckFollowsEachEdit) {
    const auto checks = [&] {
        const std::vector<nlohmann::json> sent = messages();
        const nlohmann::json* layout = find(sent, "layout");
        return layout ? layout->at("checks") : nlohmann::json();
    };
    ok("place 0 27 2000 2000");
    nlohmann::json found = checks();
    const auto about = [](const nlohmann::json& list, int entry, const char* words) {
        for (const nlohmann::json& c : list)
            if (c.value("entry", -1) == entry && c.at("message").get<std::string>().find(words) != std::string::npos)
                return c.at("severity").get<std::string>();
        return std::string();
    };
    EXPECT_EQ(about(found, 27, "wholly outside"), "error") << found.dump();
    ok("place 0 27 800 705");  // over the thrust levers
    found = checks();
    EXPECT_EQ(about(found, 27, "overlaps"), "warning") << found.dump();
    ok("undo");
    ok("undo");
    EXPECT_EQ(about(checks(), 27, ""), "");
    ok("remove 0 0");  // the broadcaster: its readers find nothing
    found = checks();
    EXPECT_EQ(about(found, 0, "no broadcaster"), "error") << found.dump();

    // The modules that can be added, with their own sizes.
    const nlohmann::json layout = nlohmann::json::parse(session->snapshot().at(0).data);
    bool lever = false;
    for (const nlohmann::json& m : layout.at("modules"))
        if (m.at("module") == "flap_lever") {
            lever = true;
            EXPECT_EQ(m.at("gauge"), "KESTREL");
            EXPECT_EQ(m.at("width"), 93);
            EXPECT_EQ(m.at("height"), 122);
        }
    EXPECT_TRUE(lever);
    EXPECT_EQ(layout.at("modules").size(), 31u);
    EXPECT_EQ(layout.at("windows").at(0).at("keys").at("ident"), "MAIN_PANEL");
    EXPECT_EQ(layout.at("entries").at(26).at("line"), entry(26)->line);
}

// A title typed on the page is written in the file's own encoding: UTF-8 in
// a file that is UTF-8, else the Windows code page the simulator reads.
TEST(LiveEditText, TitlesFollowTheFilesEncoding) {
    const struct {
        const char* title;  // as the file has it
        const char* typed;  // as the page sends it
        const char* saved;  // as the file then has it
    } cases[] = {
        {"Cockpit \xC3\xBC", "Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},  // UTF-8 stays UTF-8
        {"Cockpit \xFC", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x99", "Caf\xE9 \x80 \x92"},  // code page 1252
        {"Cockpit", "Caf\xC3\xA9", "Caf\xE9"},  // plain ASCII: the simulator's code page
        {"Cockpit \x92", "Caf\xC2\x92", "Caf\x92"},  // a byte the page showed as Latin-1 goes back as it was
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string dir = testing::TempDir() + "/kestrel studio text " + std::to_string(getpid()) + "-" +
                                std::to_string(n++);
        std::string error;
        ASSERT_TRUE(make_dirs(dir, &error)) << error;
        const std::string panel = dir + "/panel.cfg";
        remove((panel + ".bak").c_str());
        const std::string cfg = std::string("[Window Titles]\r\nWindow00=") + c.title +
                                "\r\n[Window00]\r\nsize_mm=100,100\r\ngauge00=probe!KESTREL, 0, 0\r\n";
        ASSERT_TRUE(write_file(panel, cfg.data(), cfg.size()));
        LiveOptions o = live_options();
        o.host.gauge_dir = TEST_GAUGE_DIR;
        o.panel = panel;
        o.scenarios.clear();
        LiveSession session(o);
        EXPECT_EQ(session.handle(std::string("window 0 title ") + c.typed), "");
        EXPECT_EQ(session.handle("save"), "");
        std::string saved;
        read_whole_file(panel, &saved);
        EXPECT_EQ(saved, std::string("[Window Titles]\r\nWindow00=") + c.saved +
                             "\r\n[Window00]\r\nsize_mm=100,100\r\ngauge00=probe!KESTREL, 0, 0\r\n");
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
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
