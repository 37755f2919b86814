// The sound maker: writes the three sounds the gauges play, CLICK.WAV (a push
// button's click), SWITCH.WAV (a toggle switch's clack) and CHIME.WAV (the
// two-tone cabin chime), as 16-bit mono PCM wave files at 44.1 kHz, into the
// folder given. The sounds are synthesised, so every build makes the same
// bytes.
#include <errno.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tools/bytes.h"

namespace {

using kestrel::bytes::make_dirs;
using kestrel::bytes::put16;
using kestrel::bytes::put32;

constexpr int RATE = 44100;
constexpr double PI = 3.14159265358979323846;

using Samples = std::vector<double>;

// Noise that is the same on every run: a 32-bit xorshift generator.
struct Noise {
    uint32_t state = 0x9E3779B9u;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state / 2147483648.0 - 1.0;
    }
};

size_t frames(double seconds) { return static_cast<size_t>(seconds * RATE + 0.5); }

// A sine partial that starts at `start` seconds, rises over `attack` seconds
// and dies away exponentially with time constant `decay`.
void partial(Samples& s, double start, double hz, double amplitude, double attack, double decay) {
    for (size_t i = frames(start); i < s.size(); ++i) {
        const double t = double(i) / RATE - start;
        const double rise = t < attack ? sin(0.5 * PI * t / attack) : 1.0;
        s[i] += amplitude * rise * exp(-t / decay) * sin(2 * PI * hz * t);
    }
}

// A burst of noise, smoothed by a one-pole low-pass filter (`smooth` from 0,
// none, towards 1), dying away with time constant `decay`.
void burst(Samples& s, Noise& noise, double start, double amplitude, double decay, double smooth) {
    double y = 0;
    for (size_t i = frames(start); i < s.size(); ++i) {
        const double t = double(i) / RATE - start;
        y = smooth * y + (1 - smooth) * noise.next();
        s[i] += amplitude * exp(-t / decay) * y;
    }
}

// Scales the sound to `peak` of full scale and fades its first and last
// milliseconds, so that it starts and ends on silence without a click.
std::vector<int16_t> finish(Samples s, double peak, double fade_in, double fade_out) {
    double top = 0;
    for (double v : s) top = fmax(top, fabs(v));
    const size_t n = s.size(), in = frames(fade_in), out = frames(fade_out);
    std::vector<int16_t> pcm(n);
    for (size_t i = 0; i < n; ++i) {
        double v = top > 0 ? s[i] * peak / top : 0;
        if (i < in) v *= sin(0.5 * PI * double(i) / in);
        if (n - 1 - i < out) v *= sin(0.5 * PI * double(n - 1 - i) / out);
        pcm[i] = static_cast<int16_t>(lrint(v * 32767));
    }
    return pcm;
}

std::vector<int16_t> click() {
    Samples s(frames(0.025));
    Noise noise;
    partial(s, 0, 3400, 1.0, 0.0002, 0.0015);
    partial(s, 0, 1700, 0.5, 0.0002, 0.0025);
    burst(s, noise, 0, 0.6, 0.0008, 0.3);
    return finish(s, 0.5, 0.0002, 0.004);
}

std::vector<int16_t> switch_clack() {
    Samples s(frames(0.09));
    Noise noise;
    // The lever snaps over centre, then the contact lands.
    burst(s, noise, 0, 0.8, 0.0012, 0.2);
    partial(s, 0, 2600, 0.6, 0.0002, 0.002);
    burst(s, noise, 0.016, 1.0, 0.003, 0.55);
    partial(s, 0.016, 950, 0.9, 0.0003, 0.006);
    partial(s, 0.016, 2300, 0.4, 0.0003, 0.003);
    partial(s, 0.016, 190, 0.7, 0.001, 0.012);
    return finish(s, 0.6, 0.0002, 0.01);
}

// High tone, then low: two struck bell tones a major third apart.
std::vector<int16_t> chime() {
    Samples s(frames(1.6));
    const double tones[2][2] = {{0.0, 1318.5}, {0.55, 1046.5}};
    for (const auto& tone : tones) {
        const double start = tone[0], hz = tone[1];
        partial(s, start, hz, 1.0, 0.004, 0.42);
        partial(s, start, hz * 2, 0.22, 0.004, 0.2);
        partial(s, start, hz * 3, 0.07, 0.004, 0.1);
    }
    return finish(s, 0.5, 0.002, 0.08);
}

void put(std::vector<uint8_t>& b, const char* four) { b.insert(b.end(), four, four + 4); }

std::vector<uint8_t> encode_wave(const std::vector<int16_t>& pcm) {
    const uint32_t data = static_cast<uint32_t>(pcm.size() * 2);
    std::vector<uint8_t> b;
    put(b, "RIFF");
    put32(b, 36 + data);
    put(b, "WAVE");
    put(b, "fmt ");
    put32(b, 16);
    put16(b, 1);         // PCM
    put16(b, 1);         // mono
    put32(b, RATE);
    put32(b, RATE * 2);  // bytes a second
    put16(b, 2);         // bytes a frame
    put16(b, 16);        // bits a sample
    put(b, "data");
    put32(b, data);
    for (int16_t v : pcm) put16(b, static_cast<uint16_t>(v));
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (!make_dirs(dir)) {
        fprintf(stderr, "%s: cannot create %s: %s\n", argv[0], dir.c_str(), strerror(errno));
        return 1;
    }
    const struct {
        const char* name;
        std::vector<int16_t> (*make)();
    } sounds[] = {{"CLICK.WAV", click}, {"SWITCH.WAV", switch_clack}, {"CHIME.WAV", chime}};
    for (const auto& sound : sounds) {
        const std::vector<uint8_t> bytes = encode_wave(sound.make());
        const std::string path = dir + "/" + sound.name;
        FILE* f = fopen(path.c_str(), "wb");
        if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
            fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
