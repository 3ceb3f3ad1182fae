#include "sound/score_player.h"

#include <cctype>
#include <cmath>
#include <utility>

#include "model/diagnostics.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

bool usableFormat(const PcmFormat& format) {
    return std::isfinite(format.sampleRate) && format.sampleRate > 0 && format.channels > 0;
}

// A request without a score plays nothing.
const Score kNoScore{{}, {}, {}};
const std::vector<float> kNoFrequencies;

}  // namespace

std::optional<std::int64_t> parseCount(std::string_view text, std::int64_t max) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > max) return std::nullopt;  // also keeps long digit strings from overflowing
    }
    if (value < 1) return std::nullopt;
    return value;
}

ScorePlayer::ScorePlayer(AudioOutput& output, Clock& clock, PlaybackListener& listener,
                         double lookaheadSeconds)
    : output_(output),
      clock_(clock),
      listener_(listener),
      lookahead_(std::isfinite(lookaheadSeconds) && lookaheadSeconds >= 0.0
                     ? lookaheadSeconds
                     : kDefaultLookaheadSeconds) {}

ScorePlayer::~ScorePlayer() {
    if (timer_) clock_.cancel(*timer_);
    if (state_ != PlayState::Idle) output_.dropQueued();
}

void ScorePlayer::playAll(const PlayRequest& request) {
    if (state_ != PlayState::Idle) {
        stop();
        return;
    }
    const Score& score = request.score ? *request.score : kNoScore;
    const std::string tempoText = score.settings.tempoText();
    const std::string beatsText = score.settings.beatText();
    const auto tempo = parseCount(tempoText, kMaxTempo);
    if (!tempo) {
        listener_.showPlaybackMessage("Tempo must be a whole number from 1 to " +
                                      std::to_string(kMaxTempo) + ".");
        return;
    }
    const auto beats = parseCount(beatsText, kMaxBeats);
    if (!beats) {
        listener_.showPlaybackMessage("Beats per bar must be a whole number from 1 to " +
                                      std::to_string(kMaxBeats) + ".");
        return;
    }
    const PcmFormat format = output_.outputFormat();
    if (!usableFormat(format)) {
        listener_.showPlaybackMessage("There is no sound output to play on.");
        return;
    }
    listener_.showPlaybackMessage("");

    tempo_ = *tempo;
    beats_ = *beats;
    const std::vector<float>& freqArr = request.freqArr ? *request.freqArr : kNoFrequencies;
    const std::string key = score.settings.keyText();
    list_ = buildPlayList(score.musicData, request.startIndex, freqArr,
                          {tempo_, key, request.exercise, request.cellsPerLine});
    loop_ = request.exercise;
    if (loop_) {
        // A line with no frame to sound would loop without time passing.
        std::int64_t total = 0;
        for (const PlayEntry& e : list_) total += frameCount(format.sampleRate, e.seconds);
        loop_ = total > 0;
    }

    // Sound still queued from an earlier run (its last note) is followed, not overlapped.
    const double now = clock_.now();
    if (!(format == format_) || queuedEnd() <= now) {
        format_ = format;
        anchor_ = now;
        frames_ = 0;
        bufferStarts_.clear();
    }
    state_ = PlayState::CountIn;
    endPending_ = false;
    diag(beatsText);
    playCount_ = -beats_;
    tick();
}

void ScorePlayer::stop() {
    if (state_ == PlayState::Idle || state_ == PlayState::StopRequested) return;
    setTitle(kPlayTitle);
    state_ = PlayState::StopRequested;
    playCount_ = static_cast<std::int64_t>(list_.size()) + 9999;
    loop_ = false;

    const double now = clock_.now();
    while (!bufferStarts_.empty() && timeOfFrame(bufferStarts_.front()) <= now) {
        bufferStarts_.pop_front();
    }
    // What is queued behind the sounding buffer is dropped when the output can.
    if (!bufferStarts_.empty() && output_.dropQueued()) {
        frames_ = bufferStarts_.front();
        bufferStarts_.clear();
    }
    if (timer_) {
        clock_.cancel(*timer_);
        timer_.reset();
    }
    arm(queuedEnd() - now);
}

void ScorePlayer::cmbTempoChange(std::string_view tempoText) {
    const auto tempo = parseCount(tempoText, kMaxTempo);
    if (!tempo) {
        listener_.showPlaybackMessage("Tempo must be a whole number from 1 to " +
                                      std::to_string(kMaxTempo) + ".");
        return;
    }
    listener_.showPlaybackMessage("");
    tempo_ = *tempo;
}

void ScorePlayer::tick() {
    timer_.reset();
    switch (state_) {
        case PlayState::Idle:
            return;
        case PlayState::StopRequested:
            finish(false);
            return;
        default:
            break;
    }
    if (endPending_) {
        finish(!list_.empty());
        return;
    }
    setTitle(kPlayAlternateTitle);

    const double now = clock_.now();
    if (queuedEnd() < now) {
        // The output ran dry (a timer far later than the lookahead): what follows starts now.
        anchor_ = now;
        frames_ = 0;
        bufferStarts_.clear();
    }
    while (!bufferStarts_.empty() && timeOfFrame(bufferStarts_.front()) <= now) {
        bufferStarts_.pop_front();
    }

    const std::int64_t count = static_cast<std::int64_t>(list_.size());
    for (;;) {
        const std::int64_t startFrame = frames_;
        bool tone = false;
        if (playCount_ < 0) {
            const float hz = playCount_ == -beats_ ? kFirstBeatClickHz : kBeatClickHz;
            queueBuffer(synthesizeClick(format_, hz, 60.0f / static_cast<float>(tempo_)));
            ++playCount_;
        } else if (playCount_ < count) {
            const PlayEntry entry = list_[static_cast<std::size_t>(playCount_)];
            queueBuffer(synthesizeTone(format_, entry.frequency, entry.seconds));
            ++playCount_;
            tone = true;
            if (playCount_ >= count && loop_) playCount_ = 0;  // the line again, no count-in
        }
        if (playCount_ >= 0 && state_ == PlayState::CountIn) state_ = PlayState::Playing;
        if (playCount_ >= count) {
            // Nothing more to hand over: idle once the last note starts (with the alert), or
            // when the count-in of an empty list has sounded.
            endPending_ = true;
            arm((tone ? timeOfFrame(startFrame) : queuedEnd()) - clock_.now());
            return;
        }
        if (queuedEnd() - lookahead_ > clock_.now()) break;
    }
    arm(queuedEnd() - lookahead_ - clock_.now());
}

void ScorePlayer::queueBuffer(PcmBuffer buffer) {
    if (buffer.frameLength == 0) return;
    bufferStarts_.push_back(frames_);
    frames_ += buffer.frameLength;
    handOver(output_, std::move(buffer));
}

void ScorePlayer::arm(double delaySeconds) {
    if (!(delaySeconds > 0.0)) delaySeconds = 0.0;
    timer_ = clock_.schedule(delaySeconds, [this] { tick(); });
}

void ScorePlayer::finish(bool withAlert) {
    if (timer_) {
        clock_.cancel(*timer_);
        timer_.reset();
    }
    state_ = PlayState::Idle;
    playCount_ = withAlert ? static_cast<std::int64_t>(list_.size()) : 0;
    loop_ = false;
    endPending_ = false;
    setTitle(kPlayTitle);
    // Modal: the window (and this player) may be gone when it returns.
    if (withAlert) listener_.showEndAlert(kEndAlertText);
}

void ScorePlayer::setTitle(std::string_view title) {
    if (title_ == title) return;
    title_ = title;
    listener_.setPlayButtonTitle(title);
}

double ScorePlayer::timeOfFrame(std::int64_t frame) const {
    if (!usableFormat(format_)) return anchor_;
    return anchor_ + static_cast<double>(frame) / format_.sampleRate;
}

double ScorePlayer::queuedEnd() const {
    return timeOfFrame(frames_);
}

}  // namespace sorvel
