// Sound input and output driven by the test: input blocks are handed over when the test says
// so, on the test's own thread; what the output is given is kept; the life of both is visible.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "sound/audio_input.h"
#include "sound/audio_output.h"
#include "sound/play_program.h"

namespace sorvel::fakes {

struct InputLog {
    int opened = 0, started = 0, stopped = 0, closed = 0;
    std::optional<std::string> startError;
};

class ScriptedInput : public AudioInput {
  public:
    ScriptedInput(InputLog& log, double rate) : log_(log), rate_(rate) { ++log_.opened; }
    ~ScriptedInput() override { ++log_.closed; }
    double sampleRate() const override { return rate_; }
    std::optional<std::string> start(BlockHandler onBlock, ErrorHandler onError) override {
        if (log_.startError) return log_.startError;
        ++log_.started;
        onBlock_ = std::move(onBlock);
        onError_ = std::move(onError);
        return std::nullopt;
    }
    void stop() override {
        ++log_.stopped;
        onBlock_ = nullptr;
        onError_ = nullptr;
    }
    // Hands the samples over in blocks of the given size, as a sound card would.
    void deliver(const std::vector<float>& samples, std::size_t block = 480) {
        for (std::size_t i = 0; i < samples.size() && onBlock_; i += block) {
            onBlock_(samples.data() + i, std::min(block, samples.size() - i));
        }
    }
    void fail(const std::string& message) {
        if (onError_) onError_(message);
        onBlock_ = nullptr;
        onError_ = nullptr;
    }

  private:
    InputLog& log_;
    double rate_;
    BlockHandler onBlock_;
    ErrorHandler onError_;
};

// A sound output that keeps what it is given; its life is visible to the test.
struct OutputLog {
    int opened = 0, closed = 0, played = 0;
    std::vector<PcmBuffer> buffers;
    std::vector<std::shared_ptr<const PlayProgram>> programs;  // played at once
    std::optional<std::string> startError;
};

class RecordingOutput : public AudioOutput {
  public:
    explicit RecordingOutput(OutputLog& log) : log_(log) { ++log_.opened; }
    ~RecordingOutput() override { ++log_.closed; }
    PcmFormat outputFormat() const override { return {48000.0, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override { log_.buffers.push_back(std::move(buffer)); }
    std::optional<std::string> start() override { return log_.startError; }
    void play() override { ++log_.played; }
    void playProgramNow(std::shared_ptr<const PlayProgram> program) override {
        log_.programs.push_back(std::move(program));
    }

  private:
    OutputLog& log_;
};

enum class Wave { Sine, Sawtooth, Square };

// `seconds` of a tone at the given peak amplitude, phase 0 at frame 0. The sawtooth and the
// square are band-limited (their harmonics below 20 kHz), as a recorded instrument is.
inline std::vector<float> tone(Wave wave, double frequency, double seconds, double rate,
                               double amplitude = 0.5) {
    std::vector<float> out(static_cast<std::size_t>(seconds * rate));
    if (frequency <= 0 || amplitude == 0) return out;
    const double limit = std::min(20000.0, rate / 2);
    std::vector<std::pair<int, double>> partials;  // harmonic number and weight
    if (wave == Wave::Sine) {
        partials.push_back({1, 1.0});
    } else {
        for (int k = 1; k * frequency < limit; ++k) {
            if (wave == Wave::Sawtooth)
                partials.push_back({k, (k % 2 ? 2 : -2) / (std::numbers::pi * k)});
            if (wave == Wave::Square && k % 2 == 1)
                partials.push_back({k, 4 / (std::numbers::pi * k)});
        }
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

}  // namespace sorvel::fakes
