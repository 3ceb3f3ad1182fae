#include "app/tuner.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "sound/play_program.h"
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

std::shared_ptr<const PlayProgram> steadyTone(float frequency, double sampleRate) {
    PlayProgram::Options options;
    options.sampleRate = sampleRate;
    options.countIn = false;
    options.sustain = true;
    return std::make_shared<const PlayProgram>(std::vector<PlayEntry>{{frequency, 1.0f}}, options);
}

Tuner::Tuner(OutputFactory factory) : factory_(std::move(factory)) {
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
    // Queued before the output starts, so its first frames are the tone's.
    output->playProgramNow(steadyTone(f, format.sampleRate));
    if (const auto error = output->start()) {
        // The window must not claim a tone that does not sound: stay silent.
        status_ = *error;
        diag(*error);
        return;
    }
    output->play();
    output_ = std::move(output);
}

}  // namespace sorvel
