#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace sorvel {

// What a detector found in one analysis step.
struct PitchEstimate {
    // End of the analysed samples, in seconds of signal since the detector began.
    double seconds = 0;
    // The fundamental in Hz; 0 when the detector found none.
    float frequency = 0;
    // 0 (no periodicity) to 1 (a clean period).
    float confidence = 0;
    // Loudness of the step's samples in dB below full scale (-inf for digital silence).
    float levelDb = 0;
};

// Finds the fundamental of a mono signal fed in blocks of any size.
class PitchDetector {
  public:
    virtual ~PitchDetector() = default;
    virtual double sampleRate() const = 0;
    // Samples between two estimates.
    virtual std::size_t hopSize() const = 0;
    // Feeds samples; returns the estimates of every step they completed, oldest first.
    virtual std::vector<PitchEstimate> feed(const float* samples, std::size_t count) = 0;
};

// The detection methods of aubio the tuner can use.
enum class PitchMethod {
    // YIN with its difference function computed through the FFT: exact to a fraction of a
    // cent on sines and on tones with harmonics, with a usable confidence. The default.
    YinFast,
    // YIN-FFT, YIN on a spectrally weighted difference function. aubio 0.4.9 reports no
    // confidence for it (always 0) and it reads pure sines sharp (+3.5 cents at 440 Hz,
    // +18 cents at 220 Hz), so the tuner does not use it by default.
    YinFft,
};

// An aubio detector with a window of about 40 ms and a step of an eighth of it. Nothing (a
// null pointer) for a sample rate it cannot work at.
std::unique_ptr<PitchDetector> makeAubioDetector(double sampleRate,
                                                 PitchMethod method = PitchMethod::YinFast);

}  // namespace sorvel
