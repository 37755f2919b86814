// Panel configurations, artwork files and the picture commands: what the
// host reads from files, and what `kestrel render` and `kestrel demo` write.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

#include "host/panel/bitmap.h"
#include "host/panel/panel_config.h"
#include "host/panel/load.h"
#include "host/render/render.h"
#include "host/render/window_picture.h"
#include "tests/support.h"

namespace kestrel::test {
namespace {

TEST(PanelConfig, ReadsWindowsGaugesAndComments) {
    const PanelConfig c = parse_panel_config(R"(// the development panel
[Window Titles]
Window00=Main panel
Window01=Pedestal

[VIEWS]
VIEW_FORWARD_WINDOWS=MAIN_PANEL

[WINDOW01]
size_mm=300,200
gauge00=flap_lever!KESTREL, 10, 20 ; at its own size
[Window00]
SIZE_MM = 640 , 480
position=7
background_color=10,20,30
gauge01=broadcaster!KESTREL, 100, 5, 88          // width only
gauge00=rose_arc_switch!kestrel, -4, 9, 59, 65, params
)",
                                             "panel.cfg");
    // The views are passed over with a note.
    EXPECT_EQ(c.messages(), std::vector<std::string>{"panel.cfg:6: note: [VIEWS]: the simulator's views (the outside "
                                                     "seen through the panel) do not change the panel's pictures; "
                                                     "passed over"});
    ASSERT_EQ(c.windows.size(), 2u);
    const PanelWindow& main = c.windows[0];
    EXPECT_EQ(main.index, 0);
    EXPECT_EQ(main.title, "Main panel");
    EXPECT_EQ(main.width, 640);
    EXPECT_EQ(main.height, 480);
    EXPECT_EQ(main.background, 0x0A141Eu);
    ASSERT_EQ(main.gauges.size(), 2u);  // in gauge number order
    EXPECT_EQ(main.gauges[0].module, "rose_arc_switch");
    EXPECT_EQ(main.gauges[0].gauge, "kestrel");
    EXPECT_EQ(main.gauges[0].x, -4);
    EXPECT_EQ(main.gauges[0].width, 59);
    EXPECT_EQ(main.gauges[0].height, 65);
    EXPECT_EQ(main.gauges[0].line, 17);
    EXPECT_EQ(main.gauges[1].module, "broadcaster");
    EXPECT_EQ(main.gauges[1].width, 88);
    EXPECT_EQ(main.gauges[1].height, 0);
    EXPECT_EQ(c.windows[1].title, "Pedestal");
    EXPECT_EQ(c.windows[1].gauges.at(0).width, 0);
    EXPECT_EQ(c.modules(), (std::vector<std::string>{"rose_arc_switch", "broadcaster", "flap_lever"}));
}

TEST(PanelConfig, ReportsEachMalformedLineWithItsNumberAndSkipsIt) {
    const PanelConfig c = parse_panel_config(R"(size_mm=1,1
[Window00]
gauge00=flap_lever!KESTREL, 10
gauge01=../escape!KESTREL, 0, 0
gauge02=flap_lever!KESTREL, ten, 0
gauge03=flap_lever!KESTREL, 0, 0, 0, 5
gauge04=flap_lever!KESTREL, 0, 0, 99999999999, 5
gauge05=broadcaster!KESTREL, 1, 2
gauge05=broadcaster!KESTREL, 3, 4
gaugeXY=broadcaster!KESTREL, 3, 4
size_mm=640,x
background_color=1,2,300
[Window00
just words
)",
                                             "p.cfg");
    const std::vector<std::string> m = c.messages();
    const char* const expected[] = {"p.cfg:1:", "p.cfg:3:", "p.cfg:4:", "p.cfg:5:", "p.cfg:6:", "p.cfg:7:",
                                    "p.cfg:9:", "p.cfg:10:", "p.cfg:11:", "p.cfg:12:", "p.cfg:13:", "p.cfg:14:"};
    ASSERT_EQ(m.size(), std::size(expected));
    for (size_t i = 0; i < m.size(); ++i) EXPECT_EQ(m[i].rfind(expected[i], 0), 0u) << m[i];
    ASSERT_EQ(c.windows.size(), 1u);
    ASSERT_EQ(c.windows[0].gauges.size(), 1u);  // only the first gauge05
    EXPECT_EQ(c.windows[0].gauges[0].x, 1);
    EXPECT_EQ(c.windows[0].width, 0);

    EXPECT_EQ(parse_panel_config("", "empty.cfg").messages(),
              std::vector<std::string>{"empty.cfg: no window to draw (no [WindowNN] section)"});
    EXPECT_FALSE(read_panel_config("/nonexistent/panel.cfg").problems.empty());
}

TEST(PanelConfig, GaugesAfterAGapInTheNumbersAreSkippedAsTheSimulatorDoes) {
    const PanelConfig c = parse_panel_config(R"([Window00]
gauge00=broadcaster!KESTREL, 0, 0
gauge01=flap_lever!KESTREL, 50, 0
gauge03=fuel_panel!KESTREL, 0, 50
gauge04=pfd!KESTREL, 0, 150
)",
                                             "gap.cfg");
    ASSERT_EQ(c.windows.size(), 1u);
    EXPECT_EQ(c.modules(), (std::vector<std::string>{"broadcaster", "flap_lever"}));
    EXPECT_EQ(c.messages(),
              (std::vector<std::string>{
                  "gap.cfg:4: gauge03 comes after a gap (there is no gauge02); the simulator stops "
                  "reading at the gap, so this gauge is skipped",
                  "gap.cfg:5: gauge04 comes after a gap (there is no gauge02); the simulator stops "
                  "reading at the gap, so this gauge is skipped"}));
}

TEST(PanelConfig, AnyBytesAreReadWithoutHarm) {
    std::mt19937 random(7);
    const std::string alphabet = "[]=,!;/ \n\r\t-0123456789gaugeWindow_size_mm\x80\xff";
    for (int i = 0; i < 2000; ++i) {
        std::string text = "[Window00]\n";
        const int n = random() % 200;
        for (int k = 0; k < n; ++k) text += alphabet[random() % alphabet.size()];
        const PanelConfig c = parse_panel_config(text, "random.cfg");
        for (const PanelWindow& w : c.windows)
            for (const PanelGauge& g : w.gauges) {
                EXPECT_LE(abs(g.x), MAX_PANEL_SIDE);
                EXPECT_EQ(g.module.find('/'), std::string::npos);
            }
    }
}

class Panel : public HostTest {};

TEST_F(Panel, LoadsEachModuleOnceAndReportsMissingOnesWithTheirLine) {
    const PanelConfig c = parse_panel_config(R"([Window00]
gauge00=broadcaster!KESTREL, 0, 0
gauge01=flap_lever!KESTREL, 50, 0
gauge02=not_built_yet!KESTREL, 150, 0, 40, 40
[Window01]
gauge00=flap_lever!KESTREL, 0, 0, 186, 244
)",
                                             "two.cfg");
    const std::vector<std::string> m = load_panel(host, c, KESTREL_GAUGE_DIR);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].rfind("two.cfg:4: no module not_built_yet", 0), 0u) << m[0];
    ASSERT_EQ(host.gauges().size(), 2u);
    EXPECT_EQ(host.gauges()[0]->name, "broadcaster");
    EXPECT_EQ(host.gauges()[1]->name, "flap_lever");
    host.frame();

    Renderer r(KESTREL_ARTWORK_DIR, rules::DAY);
    int w, h;
    r.window_size(c.windows[0], host, &w, &h);  // no size_mm: the gauges' extent
    EXPECT_EQ(w, 190);
    EXPECT_EQ(h, 122);
    // The second window draws the lever at twice its size: the picture is
    // the lever's own, scaled (its top-left pixel is the plate's border).
    Surface big = r.window_picture(c.windows[1], host);
    EXPECT_EQ(cairo_image_surface_get_width(big.get()), 186);
    EXPECT_EQ(cairo_image_surface_get_height(big.get()), 244);
    Surface half = r.window_picture(c.windows[1], host, 0.5);
    EXPECT_EQ(cairo_image_surface_get_width(half.get()), 93);
    EXPECT_TRUE(r.take_notes().empty());
}

TEST_F(Panel, GaugeNameMustMatchTheModulesGauge) {
    const PanelConfig c = parse_panel_config("[Window00]\ngauge00=flap_lever!OTHER, 0, 0\n", "n.cfg");
    load_panel(host, c, KESTREL_GAUGE_DIR);
    host.frame();
    Renderer r(KESTREL_ARTWORK_DIR, rules::DAY);
    r.window_picture(c.windows[0], host);
    const std::vector<std::string> notes = r.take_notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("no gauge named OTHER"), std::string::npos) << notes[0];
}

// ---------------------------------------------------------------------------
// Bitmap files

Pixels sample() {
    Pixels p;
    p.width = 3;
    p.height = 2;
    p.argb = {0xFFFF0000, 0, 0xFF0000FF, 0xFF010101, 0xFF00FF00, 0xFFFFFFFF};
    return p;
}

TEST(BitmapFile, RoundTripsAndReadsPureBlackAsTransparent) {
    const std::vector<uint8_t> bytes = encode_bmp(sample());
    EXPECT_EQ(bytes.size(), 54u + 2 * 12);  // rows padded to 4 bytes
    Pixels back;
    ASSERT_EQ(decode_bmp(bytes.data(), bytes.size(), &back), "");
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.argb, sample().argb);  // near-black 0x010101 stays opaque

    // The same pixels stored top-down, 32 bits a pixel.
    std::vector<uint8_t> top_down(bytes.begin(), bytes.begin() + 54);
    top_down[22] = 0xFE;  // height -2
    top_down[23] = top_down[24] = top_down[25] = 0xFF;
    top_down[28] = 32;
    for (uint32_t p : sample().argb)
        for (int k = 0; k < 4; ++k) top_down.push_back(uint8_t(p >> (8 * k)));
    ASSERT_EQ(decode_bmp(top_down.data(), top_down.size(), &back), "");
    EXPECT_EQ(back.argb, sample().argb);
}

TEST(BitmapFile, DamagedFilesAreRefusedAndNeverReadOutOfBounds) {
    const std::vector<uint8_t> good = encode_bmp(sample());
    Pixels out;
    struct Damage {
        size_t at;
        uint8_t value;
        const char* why;
    } damages[] = {
        {0, 'X', "not a BMP file"}, {28, 16, "only 8-, 24- and 32-bit"}, {30, 1, "compressed"},
        {18, 0, "bad size"},        {21, 0x80, "bad size"},           {10, 0xF0, "shorter"},
        {22, 0x40, "shorter"},      {14, 0xFF, "unknown BMP header"},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bad = good;
        bad[d.at] = d.value;
        EXPECT_NE(decode_bmp(bad.data(), bad.size(), &out).find(d.why), std::string::npos) << d.why;
    }
    for (size_t n = 0; n < good.size(); ++n) EXPECT_NE(decode_bmp(good.data(), n, &out), "") << n;
    // Random damage: refused or read, never a fault (the sanitizers watch).
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        std::vector<uint8_t> bad = good;
        for (int k = 0; k < 3; ++k) bad[random() % bad.size()] = uint8_t(random());
        if (decode_bmp(bad.data(), bad.size(), &out).empty()) {
            EXPECT_EQ(out.argb.size(), size_t(out.width) * out.height);
        }
    }
    EXPECT_NE(read_bmp("/nonexistent.bmp", &out), "");
}

// ---------------------------------------------------------------------------
// The commands, run as a user runs them.

std::string run(const std::string& args) {
    static int calls;
    const std::string out =
        ::testing::TempDir() + "kestrel-command-" + std::to_string(getpid()) + "-" + std::to_string(++calls) + ".txt";
    const std::string command = shell_word(KESTREL_LIBRARY_DIR "/kestrel") + " " + args + " >" + shell_word(out) + " 2>&1";
    const int status = system(command.c_str());
    std::string text;
    if (FILE* f = fopen(out.c_str(), "rb")) {
        char chunk[4096];
        size_t n;
        while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
        fclose(f);
    }
    return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "\n" + text;
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

TEST(Commands, DemoWritesFramesContactSheetAndPlayer) {
    // A folder of this run's own: frames left by another run (another
    // checkout, a longer flight) would be counted as this run's.
    const std::string dir = ::testing::TempDir() + "kestrel-demo-" + std::to_string(getpid());
    const std::string result = run("demo --out " + shell_word(dir));
    ASSERT_EQ(result.rfind("0\n", 0), 0u) << result;
    EXPECT_NE(result.find(dir + "/index.html in a web browser"), std::string::npos) << result;
    EXPECT_TRUE(exists(dir + "/contact_sheet.png"));
    EXPECT_TRUE(exists(dir + "/gauges/flap_lever.png"));
    EXPECT_TRUE(exists(dir + "/transcript.txt"));
    // The lever stands at each of its six positions at some point, and each
    // change is a picture of its own.
    int pictures = 0;
    for (int frame = 1; frame < 2000; ++frame)
        pictures += exists(dir + "/frames/" + [&] { char b[16]; snprintf(b, sizeof b, "%04d.png", frame); return std::string(b); }());
    EXPECT_GE(pictures, 7);
    std::string html;
    FILE* f = fopen((dir + "/index.html").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) html.append(chunk, n);
    fclose(f);
    // The page names every picture by its file beside it, each one there,
    // and carries none of their bytes: it stays small, and fetches nothing
    // from elsewhere.
    size_t listed = 0;
    for (size_t at = 0; (at = html.find("\"file\": \"frames/", at)) != std::string::npos; ++listed) {
        at += strlen("\"file\": \"");
        const std::string file = html.substr(at, html.find('"', at) - at);
        EXPECT_TRUE(exists(dir + "/" + file)) << file;
    }
    EXPECT_EQ(listed, size_t(pictures));
    EXPECT_NE(html.find("\"sheet\": \"contact_sheet.png\""), std::string::npos);
    EXPECT_LT(html.size(), 200u * 1024) << "the page carries more than its list of pictures";
    EXPECT_EQ(html.find("data:"), std::string::npos);
    EXPECT_EQ(html.find("://"), std::string::npos);
    EXPECT_NE(html.find("Approach: flaps out to full"), std::string::npos);
}

TEST(Commands, RenderDrawsAModuleOrAPanelAtChosenMoments) {
    const std::string dir = ::testing::TempDir() + "kestrel-render-" + std::to_string(getpid());
    std::string result = run("render flap_lever --out " + shell_word(dir));
    ASSERT_EQ(result.rfind("0\n", 0), 0u) << result;
    EXPECT_TRUE(exists(dir + "/flap_lever.png"));

    result = run("render " + shell_word(SOURCE_DIR "/panels/development/panel.cfg") + " --scenario " +
                 shell_word(SOURCE_DIR "/panels/development/demo.kes") + " --at 18,2s,end --scale 0.5 --out " + shell_word(dir));
    ASSERT_EQ(result.rfind("0\n", 0), 0u) << result;
    EXPECT_TRUE(exists(dir + "/panel_0018.png"));
    EXPECT_TRUE(exists(dir + "/panel_0036.png"));
    EXPECT_TRUE(exists(dir + "/panel.png"));
    // The end picture is taken before the flight unloads its gauges: the
    // lit knob stands at position 0, the flaps up after landing (the panel
    // at half size).
    cairo_surface_t* end = cairo_image_surface_create_from_png((dir + "/panel.png").c_str());
    ASSERT_EQ(cairo_surface_status(end), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(end), 645);
    const uint32_t knob = *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(end) +
                                                             355 * cairo_image_surface_get_stride(end) + 427 * 4);
    EXPECT_GT(((knob >> 16) & 0xFF) + ((knob >> 8) & 0xFF) + (knob & 0xFF), 300u) << std::hex << knob;
    cairo_surface_destroy(end);
    // Every gauge of the development panel is built: nothing is reported missing.
    EXPECT_EQ(result.find(": no module "), std::string::npos) << result;

    EXPECT_EQ(run("render").rfind("2\n", 0), 0u);
    EXPECT_EQ(run("render flap_lever --at 5").rfind("2\n", 0), 0u);  // --at needs a scenario
    EXPECT_EQ(run("render flap_lever --light noon").rfind("2\n", 0), 0u);
    EXPECT_EQ(run("render flap_lever --scale 0").rfind("2\n", 0), 0u);
    EXPECT_EQ(run("render no_such_module --out " + shell_word(dir)).rfind("2\n", 0), 0u);  // refused before anything runs
}

}  // namespace
}  // namespace kestrel::test
