#pragma once

#include <cstdint>

#include "ports/settings.h"

namespace sorvel {

// The sound settings of Preferences, kept through the Settings port: the volume of every
// sound (0 to 100 percent of the tones' level) and the metronome during playback. A value
// missing or not understood reads as the default.
class SoundPreferences {
  public:
    static constexpr const char* kVolumeKey = "volume";
    static constexpr const char* kMetronomeKey = "metronome";
    static constexpr std::int64_t kDefaultVolume = 100;

    explicit SoundPreferences(Settings& settings) : settings_(settings) {}

    std::int64_t volume() const;
    // Clamped to 0..100.
    void setVolume(std::int64_t percent);
    // The volume as a gain from 0 to 1.
    float gain() const { return static_cast<float>(volume()) / 100.0f; }

    bool metronome() const;
    void setMetronome(bool on);

  private:
    Settings& settings_;
};

}  // namespace sorvel
