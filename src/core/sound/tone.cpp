#include "sound/tone.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/diagnostics.h"

namespace sorvel {
namespace {

bool usableFormat(const PcmFormat& format) {
    return std::isfinite(format.sampleRate) && format.sampleRate > 0 && format.channels > 0;
}

// One cycle of sine, read with linear interpolation (the rise and fall of a tone): within
// 2e-7 of the true value, well below the last bit of a 16-bit sample.
constexpr std::size_t kTableSize = 4096;
struct SineTable {
    std::array<float, kTableSize + 1> v;
    SineTable() {
        for (std::size_t i = 0; i <= kTableSize; ++i)
            v[i] = static_cast<float>(
                std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / kTableSize));
    }
};
const SineTable kSine;

// The phase of frame i comes from i alone (not from a running sum), so a tone rendered in
// pieces is the same, to far below a 16-bit step, whatever the pieces. It is kept in cycles
// with 40 fraction bits: i × step wraps at 2^64, a multiple of one cycle, and the step's
// rounding moves a ten-minute tone by a hundred-thousandth of a cycle.
constexpr int kPhaseBits = 40;
constexpr int kIndexShift = kPhaseBits - 12;  // 4096 table entries
static_assert((std::size_t{1} << 12) == kTableSize);

inline std::uint64_t phaseStep(double cyclesPerFrame) {
    return static_cast<std::uint64_t>(std::llround(cyclesPerFrame * std::ldexp(1.0, kPhaseBits)));
}

constexpr std::uint64_t kPhaseMask = (std::uint64_t{1} << kPhaseBits) - 1;

inline std::uint64_t phaseAt(std::uint64_t step, std::int64_t i) {
    return (static_cast<std::uint64_t>(i) * step) & kPhaseMask;
}

// The sine at a phase; the next frame's phase is (phase + step) & kPhaseMask, exactly.
inline float sineOf(std::uint64_t phase) {
    const auto k = static_cast<std::size_t>(phase >> kIndexShift);
    // Below 2^28: converted through a signed 32-bit integer, which is one instruction.
    const float frac = static_cast<float>(static_cast<std::int32_t>(
                           phase & ((std::uint64_t{1} << kIndexShift) - 1))) *
                       (1.0f / static_cast<float>(std::uint64_t{1} << kIndexShift));
    return kSine.v[k] + frac * (kSine.v[k + 1] - kSine.v[k]);
}

// Adds level × the sine to frames [from, to) of out, which begins at frame `first`. Eight
// phases side by side, each turned eight steps at a time from the exact phase of its first
// frame: no table and no branch per frame, and within 1e-11 of the sine over any piece an
// output or a file asks for.
template <std::size_t kChannels>
void addSine(float* out, std::size_t channels, std::uint64_t step, std::int64_t first,
             std::int64_t from, std::int64_t to, double level) {
    constexpr std::size_t kLanes = 8;
    const std::size_t n = kChannels != 0 ? kChannels : channels;
    const double unit = 2.0 * std::numbers::pi / std::ldexp(1.0, kPhaseBits);
    const double a = static_cast<double>(phaseAt(step, from)) * unit;
    const double w = static_cast<double>(step) * unit;
    const double cw = std::cos(w), sw = std::sin(w);
    std::array<double, kLanes> c, s;
    c[0] = std::cos(a);
    s[0] = std::sin(a);
    for (std::size_t k = 1; k < kLanes; ++k) {
        c[k] = c[k - 1] * cw - s[k - 1] * sw;
        s[k] = s[k - 1] * cw + c[k - 1] * sw;
    }
    const double turn = static_cast<double>((step * kLanes) & kPhaseMask) * unit;
    const double ct = std::cos(turn), st = std::sin(turn);
    float* o = out + static_cast<std::size_t>(from - first) * n;
    std::int64_t i = from;
    for (; to - i >= static_cast<std::int64_t>(kLanes); i += kLanes, o += kLanes * n) {
        for (std::size_t k = 0; k < kLanes; ++k) {
            const auto v = static_cast<float>(level * s[k]);
            for (std::size_t ch = 0; ch < n; ++ch) o[k * n + ch] += v;
        }
        for (std::size_t k = 0; k < kLanes; ++k) {
            const double turned = c[k] * ct - s[k] * st;
            s[k] = s[k] * ct + c[k] * st;
            c[k] = turned;
        }
    }
    for (std::size_t k = 0; i < to; ++i, ++k, o += n) {
        const auto v = static_cast<float>(level * s[k]);
        for (std::size_t ch = 0; ch < n; ++ch) o[ch] += v;
    }
}

inline float riseAt(std::int64_t k, std::int64_t ramp) {
    return 0.5f - 0.5f * static_cast<float>(std::cos(std::numbers::pi * static_cast<double>(k) /
                                                     static_cast<double>(ramp)));
}

PcmBuffer silentBuffer(const PcmFormat& format, float seconds) {
    PcmBuffer buffer;
    buffer.format = format;
    if (!usableFormat(format)) return buffer;
    buffer.frameLength = frameCount(format.sampleRate, seconds);
    buffer.channelData.assign(static_cast<std::size_t>(format.channels),
                              std::vector<float>(buffer.frameLength, 0.0f));
    return buffer;
}

// Writes the tone's frames into the first channel, then copies them to the others.
void fillChannels(PcmBuffer& buffer, float frequency, std::int64_t frames) {
    std::vector<float>& first = buffer.channelData.front();
    const auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(frames, static_cast<std::int64_t>(first.size())));
    addTone(first.data(), n, 1, frequency, buffer.format.sampleRate, 0, frames);
    for (std::size_t c = 1; c < buffer.channelData.size(); ++c) buffer.channelData[c] = first;
}

}  // namespace

std::uint32_t frameCount(double sampleRate, float seconds) {
    const float sr = static_cast<float>(sampleRate);
    const float frames = std::trunc(sr * seconds);
    if (!(frames > 0.0f)) return 0;
    const float cap = std::trunc(sr * kMaxBufferSeconds);
    return static_cast<std::uint32_t>(frames < cap ? frames : cap);
}

std::int64_t envelopeFrames(double sampleRate, std::int64_t frames) {
    const auto ramp = static_cast<std::int64_t>(std::lround(sampleRate * kEnvelopeSeconds));
    return std::max<std::int64_t>(1, std::min(ramp, frames / 2));
}

void addTone(float* out, std::size_t count, std::size_t channels, float frequency,
             double sampleRate, std::int64_t from, std::int64_t frames, float gain) {
    if (!(frequency > 0.0f) || !std::isfinite(frequency) || !(sampleRate > 0.0) ||
        frequency >= sampleRate / 2 || channels == 0) {
        return;
    }
    const std::uint64_t step = phaseStep(static_cast<double>(frequency) / sampleRate);
    const std::int64_t ramp = envelopeFrames(sampleRate, frames);
    const float level = kToneLevel * gain;
    const std::int64_t end =
        std::min<std::int64_t>(from + static_cast<std::int64_t>(count), frames);
    const std::int64_t begin = std::max<std::int64_t>(from, 0);
    // The rise, the steady middle and the fall, each in a loop of its own.
    const std::int64_t riseEnd = std::min(std::max(begin, ramp), end);
    const std::int64_t fallStart = std::max(std::min(end, frames - ramp + 1), riseEnd);
    auto put = [&](std::int64_t i, float v) {
        float* frame = out + static_cast<std::size_t>(i - from) * channels;
        for (std::size_t c = 0; c < channels; ++c) frame[c] += v;
    };
    std::uint64_t phase = phaseAt(step, begin);
    auto next = [&] {
        const float v = sineOf(phase);
        phase = (phase + step) & kPhaseMask;
        return v;
    };
    for (std::int64_t i = begin; i < riseEnd; ++i) {
        float v = level * next() * riseAt(i, ramp);
        if (frames - i < ramp) v *= riseAt(frames - i, ramp);
        put(i, v);
    }
    if (channels == 1) {
        addSine<1>(out, 1, step, from, riseEnd, fallStart, level);
    } else if (channels == 2) {
        addSine<2>(out, 2, step, from, riseEnd, fallStart, level);
    } else {
        addSine<0>(out, channels, step, from, riseEnd, fallStart, level);
    }
    phase = phaseAt(step, fallStart);
    for (std::int64_t i = fallStart; i < end; ++i)
        put(i, level * next() * riseAt(frames - i, ramp));
}

std::int64_t clickFrames(double sampleRate) {
    return static_cast<std::int64_t>(std::trunc(static_cast<float>(sampleRate) * kClickSeconds)) +
           1;
}

PcmBuffer synthesizeTone(const PcmFormat& format, float frequency, float seconds) {
    PcmBuffer buffer = silentBuffer(format, seconds);
    if (!buffer.channelData.empty()) fillChannels(buffer, frequency, buffer.frameLength);
    return buffer;
}

PcmBuffer synthesizeClick(const PcmFormat& format, float frequency, float seconds) {
    PcmBuffer buffer = silentBuffer(format, seconds);
    if (!buffer.channelData.empty())
        fillChannels(buffer, frequency, clickFrames(format.sampleRate));
    return buffer;
}

void handOver(AudioOutput& output, PcmBuffer buffer, Handover how) {
    output.connect(buffer.format);
    if (how == Handover::Replacing) {
        output.playNow(std::move(buffer));
    } else {
        output.scheduleBuffer(std::move(buffer));
    }
    if (const auto error = output.start()) {
        diag(*error);
        return;
    }
    output.play();
}

void playToneOn(AudioOutput& output, float frequency, float seconds) {
    const PcmFormat format = output.outputFormat();
    if (!usableFormat(format)) return;
    handOver(output, synthesizeTone(format, frequency, seconds), Handover::Replacing);
}

void playClickOn(AudioOutput& output, float frequency, float seconds) {
    const PcmFormat format = output.outputFormat();
    if (!usableFormat(format)) return;
    handOver(output, synthesizeClick(format, frequency, seconds));
}

}  // namespace sorvel
