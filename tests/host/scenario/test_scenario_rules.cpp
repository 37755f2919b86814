// Scenarios: what the reader refuses, and the frame-at-a-time run that the
// live panel plays.
#include <dirent.h>

#include <algorithm>

#include "host/files.h"
#include "host/scenario/player.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

class ScenarioRules : public HostTest {};

// A line the reader or the runner refuses, and the words its message holds.
TEST_F(ScenarioRules, EveryCheckCanFailAndLimitsAreSaid) {
    load({"broadcaster", test_module("probe")});  // 0 static, 1 icon, 2 text, 5 needle, 6 slider, 8 sprite
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"frames 1\n\nexpect probe[1] text \"0\"\n", "rules.kes:3: probe[1] is an icon element, which has no text"},
        {"expect probe[2] frame 0\n", "probe[2] is a text element, which has no frame"},
        {"expect probe[2] value 0\n", "probe[2] is a text element, which has no value"},
        {"expect probe[5] rotation 0\n", "probe[5] is a needle element, which has no rotation"},
        {"expect probe[6] rotation 0\n", "probe[6] is a slider element, which has no rotation"},
        {"expect probe[0] x 0\n", "probe[0] is a static element, which has no x"},
        {"expect probe[8] text \"\"\n", "probe[8] is a sprite element, which has no text"},
        {"expect probe[1] value 0\n", "probe[1] is an icon element, which has no value"},
        {"expect probe[11] frame 0\n", "rules.kes:1: no element probe[11]"},
        {"expect shared nobody 0\n", "no shared variable 'nobody' is registered"},
        {"expect probe[1] bright now\n", "words after 'bright': now"},
        {"expect probe[1] shown 1\n", "words after 'shown': 1"},
        {"expect probe[2] text \"abc\n", "a text without its closing quote: \"abc"},
        {"expect probe[2] text \"abc\\\"\n", "a text without its closing quote"},
        {"expect probe[2] text abc\n", "(the text in quotes)"},
        {"expect probe[2] text \"abc\" def\n", "words after the closing quote: def"},
        {"frames 2000000000\n", "not a duration: 2000000000 (0 to 100000000 frames, or 0s to 10000000s)"},
        {"hold probe 1 1 2e7s\n", "not a duration: 2e7s (0 to 100000000 frames"},
        {"seconds -1\n", "not a duration: -1s"},
        {"click probe 1 99999999999\n", "not a point: 1 99999999999 (whole numbers of 32 bits)"},
        {"shared power 99999999999\n", "not a 32-bit value: 99999999999 (-2147483648 to 4294967295)"},
        {"fps 1001\n", "usage: fps N (1 to 1000)"},
        {"# only comments\n\n   \n## A heading\n", "rules.kes:4: no command in the scenario"},
        {"", "rules.kes:1: no command in the scenario"},
        {"\xEF\xBB\xBF# a byte-order mark, then\nbogus\n", "rules.kes:2: unknown command 'bogus'"},
    };
    for (const auto& c : cases) {
        Scenario s(host, "rules.kes");
        EXPECT_FALSE(s.run_text(c.text)) << c.text;
        EXPECT_NE(s.error().find(c.error), std::string::npos) << c.text << "\n  got: " << s.error();
        EXPECT_EQ(s.failures(), 0) << c.text;
    }
}

TEST_F(ScenarioRules, WhatFitsTheElementIsChecked) {
    load({"broadcaster", test_module("probe")});
    Scenario s(host, "rules.kes");
    ASSERT_TRUE(s.run_text("\xEF\xBB\xBF" "frames 1\n"
                           "expect probe[5] value 0\nexpect probe[6] x 0\nexpect probe[8] rotation 0\n"
                           "expect probe[0] unlit\nexpect probe[2] text \"#0\"  # the text may hold '#'\n"
                           "expect shared power 0\n"))
        << s.error();
    EXPECT_EQ(s.expectations(), 6);
    EXPECT_EQ(s.failures(), 1);  // the text is "0.000"
    EXPECT_NE(s.transcript().find("probe[2] text is \"0.000\", expected \"#0\""), std::string::npos);
}

std::vector<std::string> scenario_files() {
    std::vector<std::string> files{SOURCE_DIR "/panels/development/demo.kes"};
    if (DIR* d = opendir(SCENARIO_DIR)) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".kes") == 0)
                files.push_back(SCENARIO_DIR "/" + name);
        }
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The live panel plays a scenario a frame at a time: the modules see the same
// calls as under `kestrel run`, so the transcript is the same.
TEST(ScenarioSteps, FrameAtATimeGivesTheWholeRunsTranscript) {
    const std::vector<std::string> files = scenario_files();
    ASSERT_GT(files.size(), 10u);
    for (const std::string& path : files) {
        std::string text;
        ASSERT_TRUE(read_whole_file(path, &text)) << path;
        std::string whole;  // one host at a time
        int expectations = 0;
        {
            Host host(options());
            Scenario scenario(host, file_name(path));
            ASSERT_TRUE(scenario.run_text(text)) << scenario.error();
            whole = scenario.take_transcript();
            expectations = scenario.expectations();
        }
        Host host(options());
        ScenarioPlayer player(host, file_name(path), text);
        std::string stepped;
        uint64_t frames = 0;
        while (!player.finished()) {
            frames += player.step();
            stepped += player.take_transcript();
        }
        EXPECT_EQ(player.error(), "") << path;
        EXPECT_EQ(frames, host.sim.frame()) << path;
        EXPECT_EQ(player.expectations(), expectations) << path;
        EXPECT_EQ(stepped, whole) << path;
    }
}

}  // namespace
}  // namespace kestrel::test
