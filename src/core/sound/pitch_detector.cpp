#include "sound/pitch_detector.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace sorvel {
namespace {

// Window length in seconds; the lowest pitch of the table (A0, 220 Hz before a raised
// reference) fits about nine times.
constexpr double kWindowSeconds = 0.04;
constexpr std::size_t kHopsPerWindow = 8;
// The highest pitch of the table is near 1.1 kHz: what lies well above it is hiss, which
// makes YIN's period estimate wander and read sharp. A gentle low-pass keeps the first
// harmonics and drops most of it.
constexpr double kLowPassHz = 3000.0;

// A second-order Butterworth low-pass (direct form I, double precision state).
class LowPass {
  public:
    LowPass(double cutoff, double rate) {
        const double w = 2.0 * std::numbers::pi * std::min(cutoff, rate * 0.45) / rate;
        const double alpha = std::sin(w) / std::numbers::sqrt2;  // Q = 1/sqrt(2)
        const double c = std::cos(w);
        const double a0 = 1.0 + alpha;
        b0_ = (1.0 - c) / 2.0 / a0;
        b1_ = (1.0 - c) / a0;
        b2_ = b0_;
        a1_ = -2.0 * c / a0;
        a2_ = (1.0 - alpha) / a0;
    }
    float operator()(float x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        // Flushed to zero when it fades out, so silence stays cheap and exact.
        y1_ = std::abs(y) < 1e-20 ? 0.0 : y;
        return static_cast<float>(y1_);
    }

  private:
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

class YinFftDetector : public PitchDetector {
  public:
    YinFftDetector(double rate, std::size_t window, aubio_pitch_t* pitch)
        : rate_(rate),
          hop_(window / kHopsPerWindow),
          lowPass_(kLowPassHz, rate),
          pitch_(pitch),
          in_(new_fvec(static_cast<uint_t>(hop_))),
          out_(new_fvec(1)) {}
    ~YinFftDetector() override {
        del_fvec(out_);
        del_fvec(in_);
        del_aubio_pitch(pitch_);
    }
    YinFftDetector(const YinFftDetector&) = delete;
    YinFftDetector& operator=(const YinFftDetector&) = delete;

    double sampleRate() const override { return rate_; }
    std::size_t hopSize() const override { return hop_; }

    std::vector<PitchEstimate> feed(const float* samples, std::size_t count) override {
        std::vector<PitchEstimate> found;
        if (!samples) return found;
        for (std::size_t i = 0; i < count; ++i) {
            // A damaged sample (NaN, infinity) would poison the FFT for good: count it as 0.
            const float s = lowPass_(std::isfinite(samples[i]) ? samples[i] : 0.0f);
            in_->data[filled_++] = s;
            energy_ += static_cast<double>(s) * s;
            if (filled_ < hop_) continue;
            aubio_pitch_do(pitch_, in_, out_);
            ++hops_;
            PitchEstimate e;
            e.seconds = static_cast<double>(hops_ * hop_) / rate_;
            e.frequency = std::isfinite(out_->data[0]) && out_->data[0] > 0 ? out_->data[0] : 0;
            e.confidence = aubio_pitch_get_confidence(pitch_);
            if (!std::isfinite(e.confidence)) e.confidence = 0;
            const double meanSquare = energy_ / static_cast<double>(hop_);
            e.levelDb = meanSquare > 0 ? static_cast<float>(10.0 * std::log10(meanSquare))
                                       : -std::numeric_limits<float>::infinity();
            found.push_back(e);
            filled_ = 0;
            energy_ = 0;
        }
        return found;
    }

  private:
    double rate_;
    std::size_t hop_;
    LowPass lowPass_;
    aubio_pitch_t* pitch_;
    fvec_t* in_;
    fvec_t* out_;
    std::size_t filled_ = 0;
    double energy_ = 0;
    std::uint64_t hops_ = 0;
};

}  // namespace

std::unique_ptr<PitchDetector> makeAubioDetector(double sampleRate, PitchMethod method) {
    if (!std::isfinite(sampleRate) || sampleRate < 8000 || sampleRate > 384000) return nullptr;
    std::size_t window = 256;
    while (static_cast<double>(window) < sampleRate * kWindowSeconds) window *= 2;
    aubio_pitch_t* pitch = new_aubio_pitch(
        method == PitchMethod::YinFft ? "yinfft" : "yinfast", static_cast<uint_t>(window),
        static_cast<uint_t>(window / kHopsPerWindow), static_cast<uint_t>(sampleRate));
    if (!pitch) return nullptr;
    aubio_pitch_set_unit(pitch, "Hz");
    // Loudness is judged by the caller from levelDb; aubio's own gate stays out of the way.
    aubio_pitch_set_silence(pitch, -90.0f);
    return std::make_unique<YinFftDetector>(sampleRate, window, pitch);
}

}  // namespace sorvel
