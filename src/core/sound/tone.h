#pragma once

#include <cstddef>
#include <cstdint>

#include "sound/audio_output.h"

namespace sorvel {

// 2π as the synthesis uses it, in single precision.
inline constexpr float kTwoPi = 6.2831855f;
// Length of the sine part of a count-in click.
inline constexpr float kClickSeconds = 0.02f;
// Upper bound on one buffer's length, so a stray length cannot exhaust memory.
inline constexpr float kMaxBufferSeconds = 600.0f;
// Every tone and click rises from silence and falls back to it over this long, inside its
// own length: repeated notes are heard apart, no note clicks, and onsets stay where they are.
inline constexpr double kEnvelopeSeconds = 0.004;
// Peak level of a tone: -6 dBFS, so a metronome click over a note stays below full scale.
inline constexpr float kToneLevel = 0.5f;

// Frames in a buffer of the given length: trunc(sampleRate × seconds) in single precision.
// A length that is not positive (or not a number) gives 0 frames.
std::uint32_t frameCount(double sampleRate, float seconds);

// Frames of the rise (and of the fall) of a sound `frames` long: kEnvelopeSeconds, or half
// the sound when it is shorter than two of them.
std::int64_t envelopeFrames(double sampleRate, std::int64_t frames);

// Adds frames [from, from + count) of a tone `frames` long to every channel of the
// interleaved out: sin(2π × frequency × i / sampleRate) from phase 0 at its frame 0, at
// kToneLevel × gain, under a raised-cosine rise and fall. A frequency of 0 (or one that is
// not finite or not below half the rate) adds nothing. Allocates nothing: the audio thread
// renders with it.
void addTone(float* out, std::size_t count, std::size_t channels, float frequency,
             double sampleRate, std::int64_t from, std::int64_t frames, float gain = 1.0f);

// One tone in a buffer of its own, the same samples on every channel.
PcmBuffer synthesizeTone(const PcmFormat& format, float frequency, float seconds);

// A count-in click: a tone of trunc(sampleRate × 0.02) + 1 frames at the start of a buffer of
// the given length, silent after it.
PcmBuffer synthesizeClick(const PcmFormat& format, float frequency, float seconds);
std::int64_t clickFrames(double sampleRate);

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
