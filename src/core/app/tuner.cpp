#include "app/tuner.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "sound/tone.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

bool usableFormat(const PcmFormat& format) {
    return std::isfinite(format.sampleRate) && format.sampleRate > 0 && format.channels > 0 &&
           format.channels <= 64;
}

}  // namespace

std::string frequencyLabel(float frequency) {
    if (!std::isfinite(frequency)) return "-Hz";
    char text[64];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, frequency, std::chars_format::fixed);
    if (ec != std::errc()) return "-Hz";
    std::string s(text, end);
    if (s.find('.') == std::string::npos) s += ".0";
    return s + "Hz";
}

float steadyToneSample(float frequency, double sampleRate, std::uint64_t frame) {
    // frequency × frame is exact in double for whole frequencies and any frame below 2^40,
    // so the phase (in cycles) is exact as well.
    const double cycles =
        std::fmod(static_cast<double>(frequency) * static_cast<double>(frame), sampleRate) /
        sampleRate;
    return static_cast<float>(std::sin(2.0 * std::numbers::pi * cycles));
}

SteadyTone::SteadyTone(float frequency, PcmFormat format)
    : frequency_(frequency),
      format_(format),
      chunkFrames_(frameCount(format.sampleRate, kChunkSeconds)) {}

double SteadyTone::secondsMade() const {
    return format_.sampleRate > 0 ? static_cast<double>(nextFrame_) / format_.sampleRate : 0.0;
}

PcmBuffer SteadyTone::nextChunk() {
    PcmBuffer buffer;
    buffer.format = format_;
    if (!usableFormat(format_) || chunkFrames_ == 0) return buffer;
    buffer.frameLength = chunkFrames_;
    std::vector<float> samples(chunkFrames_);
    const bool sounding = std::isfinite(frequency_) && frequency_ > 0.0f;
    for (std::uint32_t i = 0; i < chunkFrames_; ++i) {
        samples[i] =
            sounding ? kToneLevel * steadyToneSample(frequency_, format_.sampleRate, nextFrame_ + i)
                     : 0.0f;
    }
    nextFrame_ += chunkFrames_;
    buffer.channelData.assign(static_cast<std::size_t>(format_.channels), samples);
    return buffer;
}

Tuner::Tuner(OutputFactory factory, SecondsNow now)
    : factory_(std::move(factory)), clock_(std::move(now)) {
    setUpOneCellStaff({gosen, cell_}, 17, 1);
    lblHz_ = frequencyLabel(frequency());
}

Tuner::~Tuner() = default;

float Tuner::frequency() const {
    const std::int64_t n = note();
    // Always the fixed table (A = 440 Hz), whatever the score's reference pitch.
    if (!tables::validPitch(n)) return 0.0f;
    return tables::freqArr[static_cast<std::size_t>(n)];
}

void Tuner::UpDown(std::int64_t row) {
    stepStaffPitch({gosen, cell_}, row);
}

void Tuner::play() {
    if (output_) {
        // Closing the output silences the tone at once.
        output_.reset();
        tone_.reset();
        return;
    }
    startTunerTone();
}

void Tuner::startTunerTone() {
    const float f = frequency();
    lblHz_ = frequencyLabel(f);
    status_.clear();
    std::unique_ptr<AudioOutput> output = factory_ ? factory_() : nullptr;
    if (!output) {
        status_ = "No sound output";
        diag(status_);
        return;
    }
    const PcmFormat format = output->outputFormat();
    if (!usableFormat(format)) {
        status_ = "The sound output has no usable format";
        diag(status_);
        return;
    }
    output->connect(format);
    tone_.emplace(f, format);
    output_ = std::move(output);
    startedAt_ = clock_ ? clock_() : 0.0;
    scheduleAhead();
    if (const auto error = output_->start()) {
        // The window must not claim a tone that does not sound: stay silent.
        status_ = *error;
        diag(*error);
        output_.reset();
        tone_.reset();
        return;
    }
    output_->play();
}

void Tuner::pump() {
    if (!output_ || !tone_) return;
    scheduleAhead();
}

void Tuner::scheduleAhead() {
    const double elapsed = clock_ ? clock_() - startedAt_ : 0.0;
    // After a long stall (a suspended machine) the output has played silence: go on from
    // now instead of catching up with a burst of buffers.
    if (tone_->secondsMade() < elapsed) {
        startedAt_ += elapsed - tone_->secondsMade();
    }
    const double now = clock_ ? clock_() - startedAt_ : 0.0;
    // Bounded: never more than the look-ahead in one call.
    const int most = static_cast<int>(kAheadSeconds / SteadyTone::kChunkSeconds) + 1;
    for (int k = 0; k < most && tone_->secondsMade() - now < kAheadSeconds; ++k) {
        output_->scheduleBuffer(tone_->nextChunk());
    }
}

}  // namespace sorvel
