// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// qx-soundgen <outdir>: synthesises the game's sounds into <outdir>/wav as
// 16-bit mono PCM WAVE files. Everything is computed, so every build writes
// the same bytes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kBitsPerSample = 16;
constexpr double kTwoPi = 2 * std::numbers::pi;
// Loudest sample of every sound, leaving headroom below full scale.
constexpr double kPeak = 0.7;

using Samples = std::vector<double>;

struct Envelope {
    double attack;  // seconds to full level
    double decay;   // time constant of the exponential fade after the attack
    double release; // seconds of the final fade to silence
};

// Relative strengths of the 1st, 2nd, 3rd... harmonics.
using Timbre = std::vector<double>;

const Timbre kPureSine = {1.0};
const Timbre kBell = {1.0, 0.32, 0.1, 0.04};

struct Note {
    double start;
    double duration;
    double frequency;
    double amplitude;
    Envelope envelope;
    Timbre timbre;
    double vibratoDepth = 0; // share of the frequency
    double glideTo = 0;      // frequency at the end of the note, 0 to hold it
};

constexpr double kVibratoRate = 5.5;

double level(const Envelope& envelope, double t, double duration)
{
    if (t < 0 || t >= duration)
        return 0;
    const double rise = envelope.attack > 0 ? std::min(1.0, t / envelope.attack) : 1.0;
    const double fade =
        envelope.decay > 0 ? std::exp(-std::max(0.0, t - envelope.attack) / envelope.decay) : 1.0;
    const double releaseStart = duration - envelope.release;
    const double release =
        t > releaseStart && envelope.release > 0
            ? 0.5 * (1 + std::cos(std::numbers::pi * (t - releaseStart) / envelope.release))
            : 1.0;
    return rise * fade * release;
}

Samples silence(double seconds)
{
    return Samples(static_cast<std::size_t>(std::lround(seconds * kSampleRate)), 0.0);
}

void play(Samples& track, const Note& note)
{
    const auto first = static_cast<std::size_t>(std::lround(note.start * kSampleRate));
    const auto count = static_cast<std::size_t>(std::lround(note.duration * kSampleRate));
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < track.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double frequency = note.frequency;
        if (note.glideTo > 0)
            frequency *= std::pow(note.glideTo / note.frequency, t / note.duration);
        frequency *= 1 + note.vibratoDepth * std::sin(kTwoPi * kVibratoRate * t);
        phase += kTwoPi * frequency / kSampleRate;
        double value = 0;
        for (std::size_t harmonic = 0; harmonic < note.timbre.size(); ++harmonic)
            value += note.timbre[harmonic] * std::sin(phase * static_cast<double>(harmonic + 1));
        track[first + i] += note.amplitude * level(note.envelope, t, note.duration) * value;
    }
}

void normalise(Samples& track)
{
    double loudest = 0;
    for (const double sample : track)
        loudest = std::max(loudest, std::abs(sample));
    if (loudest == 0)
        return;
    for (double& sample : track)
        sample *= kPeak / loudest;
}

// A soft tick: a quick downward chirp over a short, low body.
Samples click()
{
    Samples track = silence(0.04);
    play(track, {0, 0.04, 2400, 0.6, {0.0006, 0.006, 0.004}, kPureSine, 0, 1300});
    play(track, {0, 0.04, 620, 0.35, {0.001, 0.01, 0.006}, kPureSine});
    normalise(track);
    return track;
}

// The countdown beep: a round 880 Hz tone with a touch of its octave.
Samples countdown()
{
    Samples track = silence(0.15);
    play(track, {0, 0.15, 880, 1.0, {0.005, 0.12, 0.03}, {1.0, 0.12}});
    normalise(track);
    return track;
}

// A rising C major arpeggio that lands on a shimmering chord.
Samples fanfare()
{
    constexpr std::array<double, 4> kArpeggio = {523.25, 659.26, 783.99, 1046.50};
    constexpr std::array<double, 3> kChord = {1046.50, 1318.51, 1567.98};
    constexpr double kStep = 0.11;
    constexpr double kChordStart = kStep * kArpeggio.size();
    constexpr double kLength = 1.0;
    Samples track = silence(kLength);
    for (std::size_t i = 0; i < kArpeggio.size(); ++i)
        play(track,
             {kStep * static_cast<double>(i), 0.3, kArpeggio[i], 0.8, {0.006, 0.16, 0.06}, kBell});
    for (const double frequency : kChord)
        play(track,
             {kChordStart, kLength - kChordStart, frequency, 0.45, {0.01, 0.3, 0.2}, kBell, 0.004});
    // A low root under the chord gives it some body.
    play(track, {kChordStart, kLength - kChordStart, 523.25, 0.35, {0.01, 0.35, 0.2}, kPureSine});
    normalise(track);
    return track;
}

void putText(std::ofstream& out, const char (&text)[5])
{
    out.write(text, 4);
}

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

bool writeWave(const std::filesystem::path& path, const Samples& track)
{
    constexpr std::uint32_t kBytesPerSample = kBitsPerSample / 8;
    constexpr std::uint32_t kFormatChunkSize = 16;
    constexpr std::uint32_t kPcm = 1;
    constexpr std::uint32_t kChannels = 1;
    constexpr double kFullScale = 32767;
    const auto dataSize = static_cast<std::uint32_t>(track.size() * kBytesPerSample);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    putText(out, "RIFF");
    putLittleEndian(out, 4 + (8 + kFormatChunkSize) + (8 + dataSize), 4);
    putText(out, "WAVE");
    putText(out, "fmt ");
    putLittleEndian(out, kFormatChunkSize, 4);
    putLittleEndian(out, kPcm, 2);
    putLittleEndian(out, kChannels, 2);
    putLittleEndian(out, kSampleRate, 4);
    putLittleEndian(out, kSampleRate * kChannels * kBytesPerSample, 4);
    putLittleEndian(out, kChannels * kBytesPerSample, 2);
    putLittleEndian(out, kBitsPerSample, 2);
    putText(out, "data");
    putLittleEndian(out, dataSize, 4);
    for (const double sample : track) {
        const auto value =
            static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0, 1.0) * kFullScale));
        putLittleEndian(out, static_cast<std::uint16_t>(value), 2);
    }
    out.close();
    return !out.fail();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: qx-soundgen <outdir>\n";
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "wav";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::cerr << "qx-soundgen: cannot create " << dir << ": " << error.message() << '\n';
        return 1;
    }
    const struct {
        const char* name;
        Samples track;
    } sounds[] = {{"click.wav", click()}, {"cd.wav", countdown()}, {"up.wav", fanfare()}};
    for (const auto& sound : sounds) {
        if (!writeWave(dir / sound.name, sound.track)) {
            std::cerr << "qx-soundgen: cannot write " << dir / sound.name << '\n';
            return 1;
        }
    }
    return 0;
}
