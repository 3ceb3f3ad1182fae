#include "sound/play_program.h"

#include <algorithm>
#include <limits>

#include "sound/tone.h"

namespace sorvel {

PlayProgram::PlayProgram(const std::vector<PlayEntry>& entries, const Options& options,
                         std::vector<std::int64_t> entryCells)
    : options_(options), cells_(std::move(entryCells)) {
    const double sr = options_.sampleRate;
    const std::int64_t tempo = std::max<std::int64_t>(options_.tempo, 1);
    options_.beats = std::max<std::int64_t>(options_.beats, 1);
    beatFrames_ = frameCount(sr, 60.0f / static_cast<float>(tempo));
    clickFrames_ = std::min(clickFrames(sr), std::max<std::int64_t>(beatFrames_, 1));
    countIn_ = options_.countIn ? options_.beats * beatFrames_ : 0;
    starts_.reserve(entries.size());
    frames_.reserve(entries.size());
    frequencies_.reserve(entries.size());
    for (const PlayEntry& e : entries) {
        starts_.push_back(pass_);
        frames_.push_back(frameCount(sr, e.seconds));
        frequencies_.push_back(e.frequency);
        pass_ += frames_.back();
    }
    if (options_.sustain && !frames_.empty()) {
        // The last entry lasts as long as frames can count.
        pass_ = std::numeric_limits<std::int64_t>::max() - countIn_;
        frames_.back() = pass_ - starts_.back();
    }
    // A pass that takes no time would loop without time passing.
    loops_ = options_.loop && !options_.sustain && pass_ > 0;
}

std::int64_t PlayProgram::length() const {
    return loops_ ? std::numeric_limits<std::int64_t>::max() : countIn_ + pass_;
}

std::int64_t PlayProgram::passFrame(std::int64_t frame) const {
    if (frame < countIn_ || pass_ == 0) return -1;
    const std::int64_t rel = frame - countIn_;
    if (loops_) return rel % pass_;
    return rel < pass_ ? rel : -1;
}

std::int64_t PlayProgram::entryAt(std::int64_t frame) const {
    const std::int64_t pf = passFrame(frame);
    if (pf < 0) return -1;
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), pf);
    return static_cast<std::int64_t>(it - starts_.begin()) - 1;
}

std::int64_t PlayProgram::cellAt(std::int64_t frame) const {
    const std::int64_t e = entryAt(frame);
    if (e < 0 || e >= static_cast<std::int64_t>(cells_.size())) return -1;
    return cells_[static_cast<std::size_t>(e)];
}

std::int64_t PlayProgram::countInBeatAt(std::int64_t frame) const {
    if (frame < 0 || frame >= countIn_ || beatFrames_ == 0) return -1;
    return frame / beatFrames_;
}

std::int64_t PlayProgram::endOfSoundAt(std::int64_t frame) const {
    if (frame < 0) return 0;
    if (frame < countIn_) return (frame / beatFrames_ + 1) * beatFrames_;
    const std::int64_t e = entryAt(frame);
    if (e < 0) return std::min(frame, length());
    const std::int64_t pf = passFrame(frame);
    const auto i = static_cast<std::size_t>(e);
    return frame - pf + starts_[i] + frames_[i];
}

std::int64_t PlayProgram::tailAfter(std::int64_t end) const {
    const std::int64_t most = std::numeric_limits<std::int64_t>::max();
    return end > most - clickFrames_ ? most : end + clickFrames_;
}

void PlayProgram::render(std::int64_t from, float* out, std::size_t count, std::size_t channels,
                         std::int64_t end, float gain) const {
    std::fill(out, out + count * channels, 0.0f);
    if (channels == 0) return;
    addClicks(from, out, count, channels, end, gain);
    // The entries, one pass at a time.
    const std::int64_t to = std::min(from + static_cast<std::int64_t>(count), end);
    std::int64_t pos = std::max(from, countIn_);
    while (pos < to) {
        const std::int64_t pf = passFrame(pos);
        if (pf < 0) break;
        const std::int64_t piece = std::min(to - pos, pass_ - pf);
        addEntries(pf, pos - from, out, static_cast<std::size_t>(piece), channels, end - pos + pf,
                   gain);
        pos += piece;
    }
}

void PlayProgram::addEntries(std::int64_t passFrom, std::int64_t offset, float* out,
                             std::size_t count, std::size_t channels, std::int64_t passEnd,
                             float gain) const {
    const std::int64_t passTo = passFrom + static_cast<std::int64_t>(count);
    auto it = std::upper_bound(starts_.begin(), starts_.end(), passFrom);
    std::size_t i = static_cast<std::size_t>(it - starts_.begin()) - 1;
    for (; i < starts_.size() && starts_[i] < passTo; ++i) {
        const std::int64_t a = std::max(starts_[i], passFrom);
        const std::int64_t b = std::min({starts_[i] + frames_[i], passTo, passEnd});
        if (b <= a) continue;
        addTone(out + static_cast<std::size_t>(offset + a - passFrom) * channels,
                static_cast<std::size_t>(b - a), channels, frequencies_[i], options_.sampleRate,
                a - starts_[i], frames_[i], gain);
    }
}

void PlayProgram::addClicks(std::int64_t from, float* out, std::size_t count, std::size_t channels,
                            std::int64_t end, float gain) const {
    if (beatFrames_ <= 0) return;
    const std::int64_t to = from + static_cast<std::int64_t>(count);
    auto click = [&](std::int64_t start, std::int64_t beat) {
        if (start >= end || start + clickFrames_ <= from || start >= to) return;
        const std::int64_t a = std::max(start, from);
        const std::int64_t b = std::min(start + clickFrames_, to);
        addTone(out + static_cast<std::size_t>(a - from) * channels,
                static_cast<std::size_t>(b - a), channels,
                beat % options_.beats == 0 ? kFirstBeatClickHz : kBeatClickHz, options_.sampleRate,
                a - start, clickFrames_, gain);
    };
    // The count-in.
    for (std::int64_t b = std::max<std::int64_t>(0, (from - clickFrames_) / beatFrames_);
         b * beatFrames_ < countIn_ && b * beatFrames_ < to; ++b) {
        click(b * beatFrames_, b);
    }
    if (!options_.metronome || pass_ == 0) return;
    // A click on every beat of the entries, counted from the start of each pass.
    std::int64_t pos = std::max(from - clickFrames_ + 1, countIn_);
    while (pos < to) {
        const std::int64_t pf = passFrame(pos);
        if (pf < 0) break;
        const std::int64_t passStart = pos - pf;
        const std::int64_t passStop = std::min(to, passStart + pass_);
        for (std::int64_t k = pf / beatFrames_; k * beatFrames_ < pass_; ++k) {
            const std::int64_t start = passStart + k * beatFrames_;
            if (start >= passStop) break;
            click(start, k);
        }
        pos = passStart + pass_;
    }
}

}  // namespace sorvel
