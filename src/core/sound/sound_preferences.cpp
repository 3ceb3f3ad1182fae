#include "sound/sound_preferences.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace sorvel {

std::int64_t SoundPreferences::volume() const {
    const std::string text = settings_.get(kVolumeKey);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > 100) {
        return kDefaultVolume;
    }
    return value;
}

void SoundPreferences::setVolume(std::int64_t percent) {
    settings_.set(kVolumeKey, std::to_string(std::clamp<std::int64_t>(percent, 0, 100)));
}

bool SoundPreferences::metronome() const {
    return settings_.get(kMetronomeKey) == "1";
}

void SoundPreferences::setMetronome(bool on) {
    settings_.set(kMetronomeKey, on ? "1" : "0");
}

}  // namespace sorvel
