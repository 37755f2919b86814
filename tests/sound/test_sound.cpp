// The sounds the build makes, and the reading of wave files that GaugeSound
// plays: the three files are short, clean 16-bit sounds (the chime's two
// tones high then low), and no file, however damaged, is read past its end.
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sound/wave.h"
#include "tools/bytes.h"

namespace kestrel::test {
namespace {

std::vector<uint8_t> read_file(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

struct Sound {
    std::vector<uint8_t> file;
    Wave wave{};
    std::vector<double> samples;  // -1 to 1

    explicit Sound(const char* name) : file(read_file(std::string(KESTREL_SOUND_DIR) + "/" + name)) {
        if (read_wave(file.data(), file.size(), &wave) != nullptr || wave.format.bits != 16) return;
        for (size_t i = 0; i + 1 < wave.size; i += 2)
            samples.push_back(int16_t(wave.samples[i] | wave.samples[i + 1] << 8) / 32768.0);
    }
    double seconds() const { return double(samples.size()) / wave.format.rate; }
    double peak() const {
        double p = 0;
        for (double s : samples) p = fmax(p, fabs(s));
        return p;
    }
    // The strength of one frequency between two moments (Goertzel).
    double strength(double hz, double from, double to) const {
        const size_t a = size_t(from * wave.format.rate), b = size_t(to * wave.format.rate);
        const double k = 2 * cos(2 * M_PI * hz / wave.format.rate);
        double s1 = 0, s2 = 0;
        for (size_t i = a; i < b && i < samples.size(); ++i) {
            const double s = samples[i] + k * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        return sqrt(s1 * s1 + s2 * s2 - k * s1 * s2) / double(b - a);
    }
};

TEST(Sounds, AreShortClean16BitMonoWaveFiles) {
    const struct {
        const char* name;
        double shortest, longest;  // seconds
    } sounds[] = {{"CLICK.WAV", 0.005, 0.05}, {"SWITCH.WAV", 0.03, 0.15}, {"CHIME.WAV", 1.0, 2.0}};
    for (const auto& expected : sounds) {
        SCOPED_TRACE(expected.name);
        const Sound s(expected.name);
        ASSERT_FALSE(s.samples.empty());
        EXPECT_EQ(s.wave.format.channels, 1);
        EXPECT_EQ(s.wave.format.bits, 16);
        EXPECT_EQ(s.wave.format.rate, 44100u);
        EXPECT_GE(s.seconds(), expected.shortest);
        EXPECT_LE(s.seconds(), expected.longest);
        // Loud enough to hear, never clipped.
        EXPECT_GT(s.peak(), 0.3);
        EXPECT_LT(s.peak(), 0.9);
        // Starts and ends on silence: no click of its own at either end.
        EXPECT_LT(fabs(s.samples.front()), 0.01);
        EXPECT_LT(fabs(s.samples.back()), 0.01);
    }
}

TEST(Sounds, TheChimeIsTwoTonesHighThenLow) {
    const Sound chime("CHIME.WAV");
    ASSERT_FALSE(chime.samples.empty());
    const double high = 1318.5, low = 1046.5;
    EXPECT_GT(chime.strength(high, 0.05, 0.45), 5 * chime.strength(low, 0.05, 0.45));
    EXPECT_GT(chime.strength(low, 0.7, 1.1), 3 * chime.strength(high, 0.7, 1.1));
}

TEST(Sounds, TheSwitchClacksLongerThanTheClick) {
    const Sound click("CLICK.WAV"), clack("SWITCH.WAV");
    ASSERT_FALSE(click.samples.empty());
    ASSERT_FALSE(clack.samples.empty());
    EXPECT_GT(clack.seconds(), 2 * click.seconds());
}

// ---------------------------------------------------------------------------
// Reading wave files

struct Chunk {
    std::string id;
    std::vector<uint8_t> body;
    uint32_t stated_size = 0xFFFFFFFF;  // the size written in the header; all-ones: the body's
};

using bytes::put16;
using bytes::put32;

std::vector<uint8_t> format_body(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                 uint16_t align = 0) {
    std::vector<uint8_t> b;
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * channels * bits / 8);
    put16(b, align ? align : uint16_t(channels * bits / 8));
    put16(b, bits);
    return b;
}

// A format chunk in the extensible layout, with the sub-format's coding.
std::vector<uint8_t> extensible_body(uint16_t coding) {
    std::vector<uint8_t> b = format_body(0xFFFE, 1, 22050, 16);
    put16(b, 22);     // extra bytes
    put16(b, 16);     // valid bits
    put32(b, 4);      // channel mask
    put16(b, coding);
    b.resize(40, 0x11);  // rest of the sub-format identifier
    return b;
}

std::vector<uint8_t> wave_file(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        b.insert(b.end(), c.id.begin(), c.id.end());
        put32(b, c.stated_size == 0xFFFFFFFF ? uint32_t(c.body.size()) : c.stated_size);
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2) b.push_back(0);
    }
    const uint32_t riff = uint32_t(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = uint8_t(riff >> (8 * i));
    return b;
}

const std::vector<uint8_t> PCM16 = format_body(1, 1, 22050, 16);
const std::vector<uint8_t> SAMPLES(100, 0x40);

TEST(WaveFiles, PlayableFilesAreFound) {
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        WaveFormat format;
        size_t samples_at, size;
    } cases[] = {
        {"mono 16-bit", wave_file({{"fmt ", PCM16}, {"data", SAMPLES}}), {1, 22050, 16}, 44, 100},
        {"stereo 8-bit", wave_file({{"fmt ", format_body(1, 2, 8000, 8)}, {"data", SAMPLES}}), {2, 8000, 8}, 44, 100},
        {"other chunks first, one of odd length",
         wave_file({{"LIST", std::vector<uint8_t>(7, 1)}, {"fmt ", PCM16}, {"fact", {1, 2, 3, 4}}, {"data", SAMPLES}}),
         {1, 22050, 16}, 72, 100},
        {"the extensible format with PCM samples",
         wave_file({{"fmt ", extensible_body(1)}, {"data", SAMPLES}}), {1, 22050, 16}, 68, 100},
        {"a data size larger than the file: cut to the file",
         wave_file({{"fmt ", PCM16}, {"data", SAMPLES, 1000000}}), {1, 22050, 16}, 44, 100},
        {"a data size of half a frame too many: whole frames only",
         wave_file({{"fmt ", PCM16}, {"data", std::vector<uint8_t>(101, 0)}}), {1, 22050, 16}, 44, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Wave w{};
        ASSERT_EQ(read_wave(c.file.data(), c.file.size(), &w), nullptr);
        EXPECT_EQ(w.format.channels, c.format.channels);
        EXPECT_EQ(w.format.rate, c.format.rate);
        EXPECT_EQ(w.format.bits, c.format.bits);
        EXPECT_EQ(w.samples, c.file.data() + c.samples_at);
        EXPECT_EQ(w.size, c.size);
    }
}

TEST(WaveFiles, UnplayableFilesAreRefusedWithTheReason) {
    const std::vector<uint8_t> extensible = extensible_body(1);
    std::vector<uint8_t> not_wave = wave_file({{"fmt ", PCM16}, {"data", SAMPLES}});
    memcpy(not_wave.data() + 8, "AVI ", 4);
    const struct {
        std::vector<uint8_t> file;
        const char* reason;
    } cases[] = {
        {{}, "not a wave file"},
        {{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}, "not a wave file"},
        {not_wave, "not a wave file"},
        {wave_file({}), "no format"},
        {wave_file({{"data", SAMPLES}, {"fmt ", PCM16}}), "its samples come before their format"},
        {wave_file({{"fmt ", PCM16}}), "no samples"},
        {wave_file({{"fmt ", PCM16}, {"data", {}}}), "no samples"},
        {wave_file({{"fmt ", PCM16}, {"data", {7}}}), "no samples"},
        {wave_file({{"fmt ", std::vector<uint8_t>(PCM16.begin(), PCM16.begin() + 14)}, {"data", SAMPLES}}),
         "its format is cut short"},
        {wave_file({{"fmt ", format_body(3, 1, 22050, 32)}, {"data", SAMPLES}}), "not PCM samples"},
        {wave_file({{"fmt ", extensible_body(3)}, {"data", SAMPLES}}), "not PCM samples"},
        {wave_file({{"fmt ", std::vector<uint8_t>(extensible.begin(), extensible.begin() + 24)}, {"data", SAMPLES}}),
         "its format is cut short"},
        {wave_file({{"fmt ", format_body(1, 0, 22050, 16)}, {"data", SAMPLES}}), "not mono or stereo"},
        {wave_file({{"fmt ", format_body(1, 6, 22050, 16)}, {"data", SAMPLES}}), "not mono or stereo"},
        {wave_file({{"fmt ", format_body(1, 1, 22050, 24)}, {"data", SAMPLES}}), "not 8 or 16-bit samples"},
        {wave_file({{"fmt ", format_body(1, 1, 22050, 0)}, {"data", SAMPLES}}), "not 8 or 16-bit samples"},
        {wave_file({{"fmt ", format_body(1, 1, 0, 16)}, {"data", SAMPLES}}), "an unusable sample rate"},
        {wave_file({{"fmt ", format_body(1, 1, 7999, 16)}, {"data", SAMPLES}}), "an unusable sample rate"},
        {wave_file({{"fmt ", format_body(1, 1, 0xFFFFFFFF, 16)}, {"data", SAMPLES}}), "an unusable sample rate"},
        {wave_file({{"fmt ", format_body(1, 2, 22050, 16, 2)}, {"data", SAMPLES}}),
         "its frames are not the size of its samples"},
        // A chunk that claims the rest of the world hides everything after it.
        {wave_file({{"LIST", {1, 2}, 0xFFFFFFF0}, {"fmt ", PCM16}, {"data", SAMPLES}}), "no format"},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        Wave w{};
        const char* why = read_wave(cases[i].file.data(), cases[i].file.size(), &w);
        ASSERT_NE(why, nullptr) << "case " << i;
        EXPECT_STREQ(why, cases[i].reason) << "case " << i;
    }
}

// Every cut of a real file, and files with bytes changed at random, are read
// without going past their end (AddressSanitizer watches the copies, which
// are exactly as long as the bytes given).
TEST(WaveFiles, DamagedFilesAreNeverReadPastTheirEnd) {
    const std::vector<uint8_t> click = read_file(std::string(KESTREL_SOUND_DIR) + "/CLICK.WAV");
    ASSERT_GT(click.size(), 44u);
    for (size_t n = 0; n <= 200; ++n) {
        const std::vector<uint8_t> cut(click.begin(), click.begin() + n);
        Wave w{};
        if (read_wave(cut.data(), cut.size(), &w) == nullptr) {
            EXPECT_GE(w.samples, cut.data());
            EXPECT_LE(w.samples + w.size, cut.data() + cut.size());
        }
    }
    uint32_t state = 12345;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const std::vector<uint8_t> small(click.begin(), click.begin() + 64);
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> damaged = small;
        for (int k = 0; k < 3; ++k) damaged[next() % damaged.size()] = uint8_t(next());
        damaged.resize(next() % (damaged.size() + 1));
        Wave w{};
        if (read_wave(damaged.data(), damaged.size(), &w) == nullptr) {
            EXPECT_LE(w.samples + w.size, damaged.data() + damaged.size());
            EXPECT_EQ(w.size % w.format.frame_bytes(), 0u);
        }
    }
}

}  // namespace
}  // namespace kestrel::test
