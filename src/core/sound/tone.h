#pragma once

#include <cstdint>

#include "sound/audio_output.h"

namespace sorvel {

// 2π as the synthesis uses it, in single precision.
inline constexpr float kTwoPi = 6.2831855f;
// Length of the sine part of a count-in click.
inline constexpr float kClickSeconds = 0.02f;
// Upper bound on one buffer's length, so a stray length cannot exhaust memory.
inline constexpr float kMaxBufferSeconds = 600.0f;

// Frames in a buffer of the given length: trunc(sampleRate × seconds) in single precision.
// A length that is not positive (or not a number) gives 0 frames.
std::uint32_t frameCount(double sampleRate, float seconds);

// One full-scale sine tone, phase 0 at frame 0, the same samples on every channel:
// sample i = sin(((frequency × 2π) × i) / sampleRate) in single precision. A frequency of 0
// (or one that is not finite) gives silence of the given length.
PcmBuffer synthesizeTone(const PcmFormat& format, float frequency, float seconds);

// A count-in click: frames 0..trunc(sampleRate × 0.02) of the first channel hold the tone's
// samples, everything else is silent.
PcmBuffer synthesizeClick(const PcmFormat& format, float frequency, float seconds);

// Hands a complete buffer to the output: connect, schedule (or, for an entry tone that
// replaces the one sounding, play at once), start, and play once started. A start failure is
// written as a diagnostic line and the buffer is left queued unplayed.
enum class Handover { Queued, Replacing };
void handOver(AudioOutput& output, PcmBuffer buffer, Handover how = Handover::Queued);

// Synthesizes a tone (or a count-in click) and hands it over; an output whose format has no
// usable rate or channel count plays nothing.
void playToneOn(AudioOutput& output, float frequency, float seconds);
void playClickOn(AudioOutput& output, float frequency, float seconds);

}  // namespace sorvel
