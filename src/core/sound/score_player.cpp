#include "sound/score_player.h"

#include <algorithm>
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
                         double followSeconds)
    : output_(output),
      clock_(clock),
      listener_(listener),
      follow_(std::isfinite(followSeconds) && followSeconds > 0.0 ? followSeconds
                                                                  : kDefaultFollowSeconds) {}

ScorePlayer::~ScorePlayer() {
    if (timer_) clock_.cancel(*timer_);
    if (state_ != PlayState::Idle && program_)
        output_.endProgramAt(program_.get(), std::max<std::int64_t>(heard(), 0));
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
    if (!usableFormat(format) || !output_.available()) {
        listener_.showPlaybackMessage("There is no sound output to play on.");
        return;
    }
    listener_.showPlaybackMessage("");

    tempo_ = *tempo;
    beats_ = *beats;
    const std::vector<float>& freqArr = request.freqArr ? *request.freqArr : kNoFrequencies;
    std::vector<std::int64_t> entryCells;
    list_ = buildPlayList(score.musicData, request.startIndex, freqArr,
                          {tempo_, score.settings.keyText(), request.exercise,
                           request.cellsPerLine},
                          &entryCells);
    PlayProgram::Options options;
    options.sampleRate = format.sampleRate;
    options.tempo = tempo_;
    options.beats = beats_;
    options.loop = request.exercise;
    options.metronome = request.metronome;
    program_ = std::make_shared<const PlayProgram>(list_, options, std::move(entryCells));

    state_ = PlayState::CountIn;
    diag(beatsText);
    playCount_ = -beats_;
    setTitle(kPlayAlternateTitle);
    output_.startProgram(program_);
    follow();
}

void ScorePlayer::stop() {
    if (state_ == PlayState::Idle || state_ == PlayState::StopRequested) return;
    setTitle(kPlayTitle);
    state_ = PlayState::StopRequested;
    playCount_ = static_cast<std::int64_t>(list_.size()) + 9999;
    // What has gone to the output plays out: the sound being rendered ends at its own end.
    const ProgramClock c = output_.programClock();
    const std::int64_t rendered = c.program == program_.get() ? c.rendered : -1;
    stopAt_ = program_->endOfSoundAt(rendered);
    output_.endProgramAt(program_.get(), stopAt_);
    if (timer_) {
        clock_.cancel(*timer_);
        timer_.reset();
    }
    follow();
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

std::int64_t ScorePlayer::heard() const {
    const ProgramClock c = output_.programClock();
    return c.program == program_.get() && program_ ? c.heard : -1;
}

void ScorePlayer::follow() {
    timer_.reset();
    if (state_ == PlayState::Idle) return;
    if (!output_.available()) {
        // The server went away: nothing more sounds, also not once it is back.
        const ProgramClock c = output_.programClock();
        output_.endProgramAt(program_.get(), c.program == program_.get() ? c.rendered : 0);
        finish(false);
        return;
    }
    const std::int64_t now = heard();
    const PlayProgram& p = *program_;
    if (now >= 0) {
        const std::int64_t beat = p.countInBeatAt(now);
        const std::int64_t entry = p.entryAt(now);
        if (state_ != PlayState::StopRequested) {
            if (beat >= 0) {
                playCount_ = beat - beats_;
            } else if (now >= p.countInFrames()) {
                state_ = PlayState::Playing;
                if (entry >= 0) playCount_ = entry + 1;
            }
        }
        setSoundingCell(p.cellAt(now));
        if (state_ == PlayState::StopRequested) {
            if (now >= stopAt_) {
                finish(false);
                return;
            }
        } else if (!p.loops()) {
            if (p.entryCount() == 0) {
                if (now >= p.countInFrames()) {
                    finish(false);
                    return;
                }
            } else if (now >= p.entryStart(p.entryCount() - 1)) {
                // The last entry sounds: idle, with the alert while it sounds.
                finish(true);
                return;
            }
        }
    }
    arm(follow_);
}

void ScorePlayer::arm(double delaySeconds) {
    if (!(delaySeconds > 0.0)) delaySeconds = 0.0;
    timer_ = clock_.schedule(delaySeconds, [this] { follow(); });
}

void ScorePlayer::finish(bool withAlert) {
    if (timer_) {
        clock_.cancel(*timer_);
        timer_.reset();
    }
    state_ = PlayState::Idle;
    playCount_ = withAlert ? static_cast<std::int64_t>(list_.size()) : 0;
    setTitle(kPlayTitle);
    setSoundingCell(-1);
    // Modal: the window (and this player) may be gone when it returns.
    if (withAlert) listener_.showEndAlert(kEndAlertText);
}

void ScorePlayer::setTitle(std::string_view title) {
    if (title_ == title) return;
    title_ = title;
    listener_.setPlayButtonTitle(title);
}

void ScorePlayer::setSoundingCell(std::int64_t cell) {
    if (soundingCell_ == cell) return;
    soundingCell_ = cell;
    listener_.soundingCellChanged(cell);
}

}  // namespace sorvel
