// Test signals for the listening tuner: tones of a few wave shapes, and noise.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

namespace sorvel::testing {

enum class Wave { Sine, Sawtooth };

// `seconds` of a tone at the given peak amplitude, phase 0 at frame 0. The sawtooth is
// band-limited (its harmonics below 20 kHz), as a recorded instrument is.
inline std::vector<float> tone(Wave wave, double frequency, double seconds, double rate,
                               double amplitude = 0.5) {
    std::vector<float> out(static_cast<std::size_t>(seconds * rate));
    if (frequency <= 0 || amplitude == 0) return out;
    const double limit = std::min(20000.0, rate / 2);
    std::vector<std::pair<int, double>> partials;  // harmonic number and weight
    if (wave == Wave::Sine) {
        partials.push_back({1, 1.0});
    } else {
        for (int k = 1; k * frequency < limit; ++k)
            partials.push_back({k, (k % 2 ? 2 : -2) / (std::numbers::pi * k)});
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double cycles = std::fmod(frequency * static_cast<double>(i) / rate, 1.0);
        double v = 0;
        for (const auto& [k, weight] : partials)
            v += weight * std::sin(2 * std::numbers::pi * k * cycles);
        out[i] = static_cast<float>(amplitude * v);
    }
    return out;
}

// Adds white Gaussian noise of the given RMS, the same for every run.
inline void addNoise(std::vector<float>& samples, double rms, std::uint32_t seed = 7) {
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0.0, rms);
    for (float& s : samples) s += static_cast<float>(normal(random));
}

inline void append(std::vector<float>& to, const std::vector<float>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace sorvel::testing
