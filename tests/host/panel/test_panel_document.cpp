// Editing a panel file: each edit changes exactly its lines, saving keeps
// every other byte, a file changed on disk or a failed write leaves the
// user's file as it was, and undo and redo give back the exact bytes.
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/files.h"
#include "host/panel/document.h"
#include "host/save_file.h"
#include "host/util.h"

namespace kestrel::test {
namespace {

std::string bytes_of(const std::string& path) {
    std::string out;
    read_whole_file(path, &out);
    return out;
}

// A fresh folder for one test.
std::string folder(const std::string& name) {
    const std::string dir = ::testing::TempDir() + "document-" + name + "-" + std::to_string(getpid());
    std::string error;
    EXPECT_TRUE(make_dirs(dir, &error)) << error;
    for (const char* leftover : {"/panel.cfg", "/panel.cfg.bak", "/panel.cfg.bak2", "/panel.cfg.kestrel-new"})
        remove((dir + leftover).c_str());
    return dir;
}

// Lines with their endings, so that a difference shows as lines.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t nl; (nl = bytes.find('\n', start)) != std::string::npos; start = nl + 1)
        out.push_back(bytes.substr(start, nl + 1 - start));
    out.push_back(bytes.substr(start));
    return out;
}

const char* const PANEL =
    "// test panel, no final line ending\n"
    "[Window Titles]\n"
    "Window00=Main\n"
    "Window01=Radio\n"
    "\n"
    "[Window00]\n"
    "size_mm=1024\n"
    "visible=1\n"
    "gauge00=a!G, 1, 2\n"
    "gauge01=b!G,  10, 20, 30, 40   // b's place\n"
    "gauge02=c!G, 5, 6, 7, 8, param\n"
    "gauge03=d!G, 0, 0\n"
    "\n"
    "[Vcockpit01]\n"
    "gauge00=x!G, 0, 0\n"
    "gauge01=y!G, 0, 0\n"
    "\n"
    "[Window01]\n"
    "Background_color=1,2,3\n"
    "gauge00=e!G, 3, 4";

struct Change {
    const char* line;
    std::vector<std::pair<std::string, std::string>> replaced;  // text of PANEL -> its new text
};

TEST(PanelDocument, EachEditChangesExactlyItsLines) {
    const Change cases[] = {
        {"place 0 1 11 21 31 41", {{"b!G,  10, 20, 30, 40   //", "b!G,  11, 21, 31, 41   //"}}},
        {"place 0 1 11 21", {{"b!G,  10, 20, 30, 40   //", "b!G,  11, 21   //"}}},
        {"place 0 0 -5 6 70", {{"a!G, 1, 2\n", "a!G, -5, 6, 70\n"}}},
        {"place 0 2 1 1 9 9", {{"c!G, 5, 6, 7, 8, param", "c!G, 1, 1, 9, 9, param"}}},
        {"add 0 n!G 1 2", {{"d!G, 0, 0\n", "d!G, 0, 0\ngauge04=n!G, 1, 2\n"}}},
        {"add 1 m!X 5 6 7 8", {{"e!G, 3, 4", "e!G, 3, 4\ngauge01=m!X, 5, 6, 7, 8"}}},
        {"remove 0 1",
         {{"gauge01=b!G,  10, 20, 30, 40   // b's place\n", ""},
          {"gauge02=c!G", "gauge01=c!G"},
          {"gauge03=d!G", "gauge02=d!G"}}},
        {"remove 1 0", {{"Background_color=1,2,3\ngauge00=e!G, 3, 4", "Background_color=1,2,3"}}},
        {"window 0 size_mm 800 600", {{"size_mm=1024", "size_mm=800,600"}}},
        {"window 1 background_color 9 8 7", {{"=1,2,3", "=9,8,7"}}},
        {"window 1 visible 0", {{"=1,2,3\n", "=1,2,3\nvisible=0\n"}}},
        {"window 0 file panel.bmp", {{"visible=1\n", "visible=1\nfile=panel.bmp\n"}}},
        {"window 0 ident MAIN_PANEL", {{"visible=1\n", "visible=1\nident=MAIN_PANEL\n"}}},
        {"window 0 position 3", {{"visible=1\n", "visible=1\nposition=3\n"}}},
        {"window 0 title Main panel", {{"Window00=Main\n", "Window00=Main panel\n"}}},
        {"window 2 title New one",
         {{"Window01=Radio\n", "Window01=Radio\nWindow02=New one\n"},
          {"e!G, 3, 4", "e!G, 3, 4\n\n[Window02]"}}},
    };
    for (const Change& c : cases) {
        SCOPED_TRACE(c.line);
        PanelDocument doc;
        doc.open(PANEL, "panel.cfg");
        std::string want = PANEL;
        for (const auto& [from, to] : c.replaced) {
            const size_t at = want.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            want.replace(at, from.size(), to);
        }
        EXPECT_EQ(doc.apply(split_words(c.line)), "");
        EXPECT_EQ(lines(doc.text()), lines(want));
        EXPECT_EQ(doc.apply({"undo"}), "");
        EXPECT_EQ(doc.text(), PANEL);
    }
}

TEST(PanelDocument, TheReaderSeesEachEdit) {
    PanelDocument doc;
    doc.open(PANEL, "panel.cfg");
    ASSERT_EQ(doc.apply(split_words("place 0 3 10 20 30 40")), "");
    const PanelGauge* g = find_gauge(*find_window(doc.panel(), 0), 3);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(std::vector<int>({g->x, g->y, g->width, g->height}), std::vector<int>({10, 20, 30, 40}));
    ASSERT_EQ(doc.apply(split_words("remove 0 0")), "");
    const PanelWindow* w = find_window(doc.panel(), 0);
    ASSERT_EQ(w->gauges.size(), 3u);
    EXPECT_EQ(w->gauges[2].module, "d");
    EXPECT_EQ(w->gauges[2].x, 10);
    ASSERT_EQ(doc.apply(split_words("window 2 title Third")), "");
    ASSERT_NE(find_window(doc.panel(), 2), nullptr);
    EXPECT_EQ(find_window(doc.panel(), 2)->title, "Third");
    EXPECT_EQ(doc.panel().windows.size(), 4u);  // three windows and the virtual cockpit
}

TEST(PanelDocument, RefusedEditsSayWhyAndChangeNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"place 0 9 1 1", "Window00 has no gauge09"},
        {"place 5 0 1 1", "there is no Window05"},
        {"place 0 0 x 1", "x 'x' is not a whole number"},
        {"place 0 0 99999 1", "from -16384 to 16384"},
        {"place 0 0 1 1 0 5", "a height needs a width"},
        {"place 0 2 1 1", "parameters after its size"},
        {"place 0 0 1", "expected place WINDOW ENTRY X Y"},
        {"remove 0 0 1", "expected remove WINDOW ENTRY"},
        {"remove 64 0", "the window '64' is not a whole number from 0 to 63"},
        {"add 0 ../x!G 1 1", "'../x' is not a module name"},
        {"add 0 a;b!G 1 1", "start a comment"},
        {"add 0 a!G,1 1 1", "may not hold a comma"},
        {"window 0 visible 2", "visible '2' is not a whole number from 0 to 1"},
        {"window 0 size_mm 1 2 3", "expected window 0 size_mm W [H]"},
        {"window 0 colour 1", "'colour' is not a window key"},
        {"window 3 title X", "there is no Window03; 'window 2 title TEXT' adds the next window"},
        {"window 0 file ../a.bmp", "is not a file beside panel.cfg"},
        {"window 0 ident a-b", "an ident is letters"},
        {"undo", "nothing to undo"},
        {"redo", "nothing to redo"},
        {"jump 0", "'jump' is not a panel edit"},
    };
    for (const auto& [line, why] : cases) {
        SCOPED_TRACE(line);
        PanelDocument doc;
        doc.open(PANEL, "panel.cfg");
        EXPECT_NE(doc.apply(split_words(line)).find(why), std::string::npos) << doc.apply(split_words(line));
        EXPECT_EQ(doc.text(), PANEL);
    }
}

TEST(PanelDocument, NewLinesFollowTheFilesHabitsAndKeepItsBytes) {
    // CRLF, a byte-order mark, a Windows-1252 byte, upper-case keys, tabs after commas.
    const std::string file =
        "\xEF\xBB\xBF// caf\xE9 \r\n[Window Titles]\r\nWINDOW00=A\r\n\r\n[WINDOW00]\r\n"
        "GAUGE00 = a!G,\t1,\t2 \r\n";
    PanelDocument doc;
    doc.open(file, "panel.cfg");
    ASSERT_EQ(doc.apply(split_words("add 0 b!G 3 4")), "");
    ASSERT_EQ(doc.apply(split_words("place 0 0 5 6")), "");
    ASSERT_EQ(doc.apply(split_words("window 1 title B")), "");
    EXPECT_EQ(lines(doc.text()), lines("\xEF\xBB\xBF// caf\xE9 \r\n[Window Titles]\r\nWINDOW00=A\r\nWINDOW01=B\r\n\r\n"
                                       "[WINDOW00]\r\nGAUGE00 = a!G,\t5,\t6 \r\nGAUGE01 = b!G,\t3,\t4\r\n\r\n"
                                       "[WINDOW01]\r\n"));
    for (int i = 0; i < 3; ++i) ASSERT_EQ(doc.apply({"undo"}), "");
    EXPECT_EQ(doc.text(), file);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(doc.apply({"redo"}), "");
    EXPECT_NE(doc.text(), file);
    ASSERT_EQ(doc.apply({"undo"}), "");
    ASSERT_EQ(doc.apply(split_words("remove 0 0")), "");
    EXPECT_EQ(doc.apply({"redo"}), "nothing to redo");  // a new edit ends what could be redone
}

TEST(PanelDocument, EveryPanelSavesByteForByte) {
    const std::string dir = folder("every");
    for (const char* name : {"tests/panels/classic.cfg", "tests/panels/hostile.cfg", "tests/panels/modern.cfg",
                             "tests/panels/newest.cfg", "panels/development/panel.cfg", "panels/classic/panel.cfg"}) {
        SCOPED_TRACE(name);
        const std::string original = bytes_of(std::string(SOURCE_DIR "/") + name);
        ASSERT_FALSE(original.empty());
        for (const char* leftover : {"/panel.cfg.bak", "/panel.cfg.bak2"}) remove((dir + leftover).c_str());
        ASSERT_TRUE(write_file(dir + "/panel.cfg", original.data(), original.size()));
        PanelDocument doc;
        std::string error;
        ASSERT_TRUE(doc.load(dir + "/panel.cfg", &error)) << error;
        EXPECT_EQ(doc.text(), original);
        EXPECT_FALSE(doc.modified());
        EXPECT_EQ(doc.save(), "");
        EXPECT_EQ(bytes_of(dir + "/panel.cfg"), original);
        EXPECT_EQ(bytes_of(dir + "/panel.cfg.bak"), original);
    }
}

TEST(PanelDocument, SavingKeepsABackupAndNeverOverwritesAChangedFile) {
    const std::string dir = folder("save"), path = dir + "/panel.cfg";
    ASSERT_TRUE(write_file(path, PANEL, strlen(PANEL)));
    ASSERT_TRUE(write_file(path + ".bak", "older", 5));
    PanelDocument doc;
    std::string error;
    ASSERT_TRUE(doc.load(path, &error));
    ASSERT_EQ(doc.apply(split_words("place 0 0 7 8")), "");
    ASSERT_EQ(doc.save(), "");
    EXPECT_EQ(bytes_of(path), doc.text());
    EXPECT_EQ(bytes_of(path + ".bak"), "older");
    EXPECT_EQ(bytes_of(path + ".bak2"), PANEL);  // the first save of the session only
    EXPECT_EQ(doc.backup(), path + ".bak2");
    ASSERT_EQ(doc.apply(split_words("place 0 0 9 9")), "");
    ASSERT_EQ(doc.save(), "");
    EXPECT_EQ(bytes_of(path + ".bak2"), PANEL);
    EXPECT_FALSE(exists(path + ".bak3"));

    // Another program writes the file: the next save refuses and writes nothing.
    const std::string theirs = "[Window00]\ngauge00=z!G, 0, 0\n";
    ASSERT_TRUE(write_file(path, theirs.data(), theirs.size()));
    ASSERT_EQ(doc.apply(split_words("place 0 0 1 1")), "");
    EXPECT_NE(doc.save().find("has changed on disk since it was read"), std::string::npos);
    EXPECT_EQ(bytes_of(path), theirs);
    EXPECT_FALSE(exists(path + ".bak3"));
}

TEST(PanelDocument, AFailedWriteOrRenameLeavesTheFileAsItWas) {
    const std::string dir = folder("fail"), path = dir + "/panel.cfg";
    ASSERT_TRUE(write_file(path, PANEL, strlen(PANEL)));
    PanelDocument doc;
    std::string error;
    ASSERT_TRUE(doc.load(path, &error));
    ASSERT_EQ(doc.apply(split_words("remove 0 0")), "");
    // The temporary file cannot be made (a folder with a file in it has its
    // name): this fails for root too.
    ASSERT_EQ(mkdir((path + ".kestrel-new").c_str(), 0755), 0);
    ASSERT_TRUE(write_file(path + ".kestrel-new/x", "x", 1));
    EXPECT_NE(doc.save().find("cannot write"), std::string::npos);
    EXPECT_EQ(bytes_of(path), PANEL);
    remove((path + ".kestrel-new/x").c_str());
    rmdir((path + ".kestrel-new").c_str());
    EXPECT_EQ(doc.save(), "");  // and once it can, it saves
    EXPECT_EQ(bytes_of(path), doc.text());

    // The rename fails (the target is a folder that is not empty): it stays, and no temporary file is left.
    const std::string target = dir + "/taken";
    ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
    ASSERT_TRUE(write_file(target + "/inside", "kept", 4));
    EXPECT_FALSE(replace_file(target, "new", &error));
    EXPECT_NE(error.find("it is unchanged"), std::string::npos) << error;
    EXPECT_EQ(bytes_of(target + "/inside"), "kept");
    EXPECT_FALSE(exists(target + ".kestrel-new"));
    remove((target + "/inside").c_str());
    rmdir(target.c_str());
}

}  // namespace
}  // namespace kestrel::test
