// A live session recorded as a scenario: `kestrel run` passes it on the
// same modules and fails it when a gauge behaves differently.
#include <nlohmann/json.hpp>

#include "host/files.h"
#include "host/scenario/recorder.h"
#include "tests/support.h"
#include "viewer/live.h"

namespace kestrel::test {
namespace {

// The transcript without the lines echoed: what the modules did.
std::string what_modules_did(const std::string& text) {
    Host host(options());
    Scenario s(host, "press.kes");
    EXPECT_TRUE(s.run_text(text)) << s.error();
    std::string out;
    for (const std::string& line : scenario_lines(s.transcript()))
        if (line.rfind("> ", 0) != 0) out += line + "\n";
    return out;
}

TEST(ScenarioPress, PressFramesAndReleaseMakeTheCallsOfHoldAndClick) {
    const std::string start = "load broadcaster manual_starters\nset 0x16C 1\nclick manual_starters 15 9\n";
    EXPECT_EQ(what_modules_did(start + "press manual_starters 16 25\nframes 3\nrelease\nframes 1\n"),
              what_modules_did(start + "hold manual_starters 16 25 3\nframes 1\n"));
    EXPECT_EQ(what_modules_did(start + "press manual_starters 16 25\nrelease\n"),
              what_modules_did(start + "click manual_starters 16 25\n"));
    const struct {
        const char* line;
        const char* why;
    } refused[] = {
        {"move 1 2", "no button is held"},
        {"release", "no button is held"},
        {"press nothing 1 2", "no gauge 'nothing'"},
        {"press manual_starters 1", "usage: press GAUGE X Y"},
        {"move 1 x", "not a point"},
        {"release now", "usage: release"},
    };
    for (const auto& c : refused) {
        Host host(options());
        Scenario s(host, "press.kes");
        EXPECT_FALSE(s.run_line(c.line)) << c.line;
        EXPECT_NE(s.error().find(c.why), std::string::npos) << c.line << "\n" << s.error();
    }
}

class Recording : public ::testing::Test {
protected:
    std::string folder = ::testing::TempDir() + "kestrel-recording-" + std::to_string(getpid());
    std::unique_ptr<LiveSession> session;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(make_dirs(folder + "/saved", &error)) << error;
        LiveOptions o;
        o.host = options();
        o.artwork_dir = KESTREL_ARTWORK_DIR;
        o.panel = SOURCE_DIR "/panels/development/panel.cfg";
        o.record_dir = folder + "/saved";
        session = std::make_unique<LiveSession>(o);
    }
    void ok(const std::string& message) { EXPECT_EQ(session->handle(message), "") << message; }
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            ok("step");
            session->advance(0);
        }
    }
    // The recording the last update offered to the page.
    nlohmann::json offered() {
        for (const Outgoing& o : session->update()) {
            if (o.binary) continue;
            nlohmann::json j = nlohmann::json::parse(o.data);
            if (j["t"] == "recording") return j;
        }
        return nullptr;
    }
};

TEST_F(Recording, ASessionRecordedPassesAndFailsWithAModuleThatBehavesDifferently) {
    ok("pause");
    ok("press 0 300 77");  // the avionics switch, before the recording
    ok("release");
    frames(2);
    ok("record");
    ok("set 0x16C 1");
    ok("shared seatbelts 1");
    ok("place 0 27 854 710");  // the flap lever moved: said in a comment (not saved)
    ok("press 0 651 106");  // ENG 1's cover
    ok("release");
    frames(1);
    ok("press 0 652 122");  // ENG 1's start button, held over frames
    frames(4);
    ok("move 0 653 123");
    frames(1);
    ok("release");
    ok("slow");
    session->advance(0);
    frames(3);
    ok("record stop starter");
    const nlohmann::json rec = offered();
    ASSERT_TRUE(rec.is_object());
    EXPECT_EQ(rec["name"], "starter.kes");
    EXPECT_EQ(rec["saved"], folder + "/saved/starter.kes");
    const std::string text = rec["text"];
    std::string saved;
    ASSERT_TRUE(read_whole_file(folder + "/saved/starter.kes", &saved));
    EXPECT_EQ(saved, text);
    for (const char* words : {"\nload broadcaster ", "\nmodel all on\n", "\npress manual_starters ", "\nframes 4\n",
                              "\nfps 6\nframes 1\nfps 18\n", "\n## Recorded\nset 0x16C 1\nshared seatbelts 1\n",
                              "\nexpect shared power 1\n",
                              "\n# panel edit: place 0 27 854 710\n", "\nexpect var 0x16C 1\n", "\nexpect keys 0x102FC 0x102FC",
                              "\nexpect manual_starters["})
        EXPECT_NE(text.find(words), std::string::npos) << words << "\n" << text;

    const Ran same = kestrel("--gauges " + shell_word(KESTREL_GAUGE_DIR) + " run " + shell_word(folder + "/saved/starter.kes"));
    EXPECT_EQ(same.status, 0) << same.output;
    EXPECT_NE(same.output.find(" 0 failed or faults"), std::string::npos) << same.output;

    // The same Gauges folder with the manual starters' module swapped for
    // another module's file.
    std::string error;
    const std::string swapped = folder + "/swapped";
    ASSERT_TRUE(make_dirs(swapped, &error)) << error;
    for (const auto& g : session->host().gauges()) {
        const std::string from = g->name == "manual_starters" ? std::string(KESTREL_GAUGE_DIR "/fuel_panel.gau") : g->path;
        std::string bytes;
        ASSERT_TRUE(read_whole_file(from, &bytes)) << from;
        ASSERT_TRUE(write_file(swapped + "/" + g->name + ".gau", bytes.data(), bytes.size()));
    }
    const Ran other = kestrel("--gauges " + shell_word(swapped) + " run " + shell_word(folder + "/saved/starter.kes"));
    EXPECT_EQ(other.status, 1) << other.output;
    EXPECT_NE(other.output.find("EXPECTATION FAILED"), std::string::npos) << other.output;
}

TEST_F(Recording, RefusesWhatItCannotDoAndNamesRecordingsSafely) {
    const struct {
        const char* message;
        const char* why;
    } before[] = {
        {"record stop", "not recording"},
        {"record now", "usage: record"},
    };
    for (const auto& c : before) EXPECT_NE(session->handle(c.message).find(c.why), std::string::npos) << c.message;
    ok("record");
    EXPECT_EQ(session->handle("record"), "already recording");
    ASSERT_TRUE(write_file(folder + "/saved/taken.kes", "x\n", 2));
    const struct {
        const char* message;
        const char* why;
    } names[] = {
        {"record stop ../out", "not a plain file name: ../out"},
        {"record stop a/b", "not a plain file name"},
        {"record stop a\\b", "not a plain file name"},
        {"record stop .hidden", "not a plain file name"},
        {"record stop taken", "taken.kes exists already"},
        {"record stop a b c", "usage: record"},
    };
    for (const auto& c : names) EXPECT_NE(session->handle(c.message).find(c.why), std::string::npos) << c.message;
    std::string kept;
    ASSERT_TRUE(read_whole_file(folder + "/saved/taken.kes", &kept));
    EXPECT_EQ(kept, "x\n") << "a file of that name is never written over";
    ok("record stop");  // still recording after the refusals: named from the date and time
    const nlohmann::json rec = offered();
    ASSERT_TRUE(rec.is_object());
    EXPECT_EQ(std::string(rec["name"]).rfind("recording-20", 0), 0u) << rec["name"];
    EXPECT_TRUE(exists(rec["saved"]));
    // A scenario played on the panel is not the user's doing: reset first.
    ok("record");
    ok("reset");
    EXPECT_EQ(session->handle("record stop"), "not recording");
}

}  // namespace
}  // namespace kestrel::test
