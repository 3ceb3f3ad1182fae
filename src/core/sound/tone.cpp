#include "sound/tone.h"

#include <cmath>
#include <limits>
#include <utility>

#include "model/diagnostics.h"

namespace sorvel {
namespace {

bool usableFormat(const PcmFormat& format) {
    return std::isfinite(format.sampleRate) && format.sampleRate > 0 && format.channels > 0;
}

float sineSample(float frequency, float sr, std::uint32_t i) {
    return std::sin(((frequency * kTwoPi) * static_cast<float>(i)) / sr);
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

}  // namespace

std::uint32_t frameCount(double sampleRate, float seconds) {
    const float sr = static_cast<float>(sampleRate);
    const float frames = std::trunc(sr * seconds);
    if (!(frames > 0.0f)) return 0;
    const float cap = std::trunc(sr * kMaxBufferSeconds);
    return static_cast<std::uint32_t>(frames < cap ? frames : cap);
}

PcmBuffer synthesizeTone(const PcmFormat& format, float frequency, float seconds) {
    PcmBuffer buffer = silentBuffer(format, seconds);
    if (buffer.channelData.empty() || frequency == 0.0f || !std::isfinite(frequency)) {
        return buffer;
    }
    const float sr = static_cast<float>(format.sampleRate);
    std::vector<float>& first = buffer.channelData.front();
    for (std::uint32_t i = 0; i < buffer.frameLength; ++i) first[i] = sineSample(frequency, sr, i);
    for (std::size_t c = 1; c < buffer.channelData.size(); ++c) buffer.channelData[c] = first;
    return buffer;
}

PcmBuffer synthesizeClick(const PcmFormat& format, float frequency, float seconds) {
    PcmBuffer buffer = silentBuffer(format, seconds);
    if (buffer.channelData.empty() || !std::isfinite(frequency)) return buffer;
    const float sr = static_cast<float>(format.sampleRate);
    const float last = std::trunc(sr * kClickSeconds);
    std::vector<float>& first = buffer.channelData.front();
    for (std::uint32_t i = 0; i < buffer.frameLength && static_cast<float>(i) <= last; ++i) {
        first[i] = sineSample(frequency, sr, i);
    }
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
