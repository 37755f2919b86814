// What the tests share: a host with the built modules, and short ways to ask
// what the modules did.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/files.h"
#include "host/host.h"
#include "host/render/render.h"
#include "host/scenario/scenario.h"

namespace kestrel::test {

inline HostOptions options(bool sound_library = true) {
    return HostOptions{KESTREL_GAUGE_DIR, sound_library ? KESTREL_LIBRARY_DIR : ""};
}

// A module built only for the tests.
inline std::string test_module(const std::string& name) {
    return std::string(TEST_GAUGE_DIR) + "/" + name + ".gau";
}

// `text` as one word of a shell command, whatever it holds (a path with
// blanks, quotes or any other byte).
inline std::string shell_word(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A drawn picture looked at by pixels, for the fixtures that render gauges.
struct Picture {
    Surface picture;
    // The pixel at (x, y) as 0xRRGGBB; black outside the picture.
    uint32_t px(int x, int y) const {
        cairo_surface_t* s = picture.get();
        if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(s) || y >= cairo_image_surface_get_height(s))
            return 0;
        const uint8_t* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        return *reinterpret_cast<const uint32_t*>(data + size_t(y) * stride + size_t(x) * 4) & 0xFFFFFF;
    }
    static int r(uint32_t c) { return c >> 16 & 0xFF; }
    static int g(uint32_t c) { return c >> 8 & 0xFF; }
    static int b(uint32_t c) { return c & 0xFF; }
    // Whether any pixel in the box [x0, x1] x [y0, y1] passes the test.
    bool any(int x0, int x1, int y0, int y1, bool (*test)(uint32_t)) const {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (test(px(x, y))) return true;
        return false;
    }
};

// The built kestrel run with `args` (words as the shell reads them).
struct Ran {
    int status;
    std::string output;  // stdout and stderr
};

inline Ran kestrel(const std::string& args) {
    const std::string out = ::testing::TempDir() + "kestrel-commands-" + std::to_string(getpid()) + ".txt";
    // A serve that listened would run on: the time limit ends it, as a failure.
    const int s = system(("timeout 60 " + shell_word(KESTREL_LIBRARY_DIR "/kestrel") + " " + args + " >" + shell_word(out) +
                          " 2>&1 </dev/null")
                             .c_str());
    Ran r{WIFEXITED(s) ? WEXITSTATUS(s) : -1, ""};
    read_whole_file(out, &r.output);
    return r;
}

// The simulator variables a gauge refreshes in its pre-update, in the order
// it asks: the host's lookup_var, wrapped to note each id.
namespace lookup_detail {
inline std::vector<uint32_t> looked_up;
inline void(KCALL* host_lookup)(ModuleVar*) = nullptr;
inline void KCALL note(ModuleVar* var) {
    looked_up.push_back(var->id);
    host_lookup(var);
}
}  // namespace lookup_detail

inline std::vector<uint32_t> lookups(Host& host, Gauge& g) {
    HostTable* table = g.layout.imports->host.table;
    HostTable noting = *table;
    lookup_detail::host_lookup = table->lookup_var;
    noting.lookup_var = lookup_detail::note;
    g.layout.imports->host.table = &noting;
    lookup_detail::looked_up.clear();
    host.service(g, SERVICE_PRE_UPDATE);
    g.layout.imports->host.table = table;
    return lookup_detail::looked_up;
}

class HostTest : public ::testing::Test {
protected:
    explicit HostTest(bool sound_library = true) : host(options(sound_library)) {}

    Gauge& load(const std::vector<std::string>& modules) {
        std::string error;
        EXPECT_TRUE(host.load(modules, &error)) << error;
        Gauge* g = host.find(module_name(modules.back()));
        EXPECT_NE(g, nullptr);
        return *g;
    }
    Gauge& probe() { return load({test_module("probe")}); }

    // The events of one kind since the last call of `take` (all kinds are
    // consumed).
    std::vector<Event> take(Event::Kind kind) {
        std::vector<Event> out;
        for (const Event& e : host.events)
            if (e.kind == kind) out.push_back(e);
        host.events.clear();
        return out;
    }
    std::vector<uint32_t> keys() {
        std::vector<uint32_t> out;
        for (const Event& e : take(Event::Kind::KeyEvent)) out.push_back(static_cast<uint32_t>(e.number));
        return out;
    }
    // "GaugePlaySound sound\CLICK.WAV", "PlaySoundA sound\SWITCH.WAV", "TerminateSounds"
    std::vector<std::string> sounds() {
        std::vector<std::string> out;
        for (const Event& e : take(Event::Kind::Sound)) {
            std::string s = e.name;
            if (!e.detail.empty()) s += " " + e.detail.substr(0, e.detail.find(' '));
            out.push_back(s);
        }
        return out;
    }
    // "LoadLibraryA GaugeSound found", "GetModuleHandleA GaugeSound missing", ...
    std::vector<std::string> library_calls() {
        std::vector<std::string> out;
        for (const Event& e : take(Event::Kind::Library))
            out.push_back(e.name + (e.detail.empty() ? "" : " " + e.detail) + (e.value ? " found" : " missing"));
        return out;
    }

    const ElementState& state(Gauge& g, size_t i) { return g.state.at(i); }
    static bool bright(const ElementState& s) { return (s.flags & IMAGE_BRIGHT) != 0; }
    static bool hidden(const ElementState& s) { return (s.flags & IMAGE_HIDDEN) != 0; }

    Host host;
};

}  // namespace kestrel::test
