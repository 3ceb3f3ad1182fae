#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/score.h"
#include "sound/audio_output.h"
#include "sound/clock.h"
#include "sound/play_list.h"
#include "sound/play_program.h"

namespace sorvel {

// Titles of the play button: idle, and while the count-in or the notes run.
inline constexpr std::string_view kPlayTitle = "▶︎";
inline constexpr std::string_view kPlayAlternateTitle = "■";
// Message of the alert shown while the last note of the score sounds.
inline constexpr std::string_view kEndAlertText = "end";
// Accepted tempo (quarter notes per minute) and beats per bar.
inline constexpr std::int64_t kMaxTempo = 1000;
inline constexpr std::int64_t kMaxBeats = 64;
// How often the player looks at where the output has got to (title, sounding cell, end).
inline constexpr double kDefaultFollowSeconds = 0.015;

enum class PlayState { Idle, CountIn, Playing, StopRequested };

// What the player shows on its window.
class PlaybackListener {
  public:
    virtual ~PlaybackListener() = default;
    virtual void setPlayButtonTitle(std::string_view title) = 0;
    // Modal alert while the last note sounds; the player does nothing after calling it.
    virtual void showEndAlert(std::string_view text) = 0;
    // One line telling why playback did not start or a setting was refused; empty clears it.
    virtual void showPlaybackMessage(std::string_view text) = 0;
    // The cell whose sound is heard now changed (-1: none, in the count-in and once idle).
    virtual void soundingCellChanged(std::int64_t /*cell*/) {}
};

// What a start reads, as it is at the press of the button: the score's cells and its tempo,
// key and beat choices, and the window's selection and pitch table.
struct PlayRequest {
    const Score* score = nullptr;
    std::int64_t startIndex = -1;                 // the selected cell, -1 outside the score
    const std::vector<float>* freqArr = nullptr;  // pitch table of the entry staff
    bool exercise = false;
    std::int64_t cellsPerLine = kCellsPerLine;
    // A click on every beat after the count-in.
    bool metronome = false;
};

// A whole decimal number from 1 to max with nothing else but surrounding spaces; nothing
// otherwise.
std::optional<std::int64_t> parseCount(std::string_view text, std::int64_t max);

// Plays a score: one bar of count-in clicks, then the play list, once or (exercise mode) in a
// loop. The whole program goes to the output at the start and the output renders it by its
// own clock, so the sound is placed sample-exactly whatever the timers' lateness; the timers
// only follow what has been heard (title, sounding cell, end). Pressing again stops after the
// sounding note.
class ScorePlayer {
  public:
    ScorePlayer(AudioOutput& output, Clock& clock, PlaybackListener& listener,
                double followSeconds = kDefaultFollowSeconds);
    // Cancels the armed timer and ends the sound at once.
    ~ScorePlayer();
    ScorePlayer(const ScorePlayer&) = delete;
    ScorePlayer& operator=(const ScorePlayer&) = delete;

    // The play button: starts when idle, requests a stop otherwise.
    void playAll(const PlayRequest& request);
    // Requests a stop when playing; nothing when idle.
    void stop();
    // The tempo box changed: the next start uses the new tempo (the one running keeps its own).
    // Refused with a message when the text is no tempo.
    void cmbTempoChange(std::string_view tempoText);

    PlayState state() const { return state_; }
    bool idle() const { return state_ == PlayState::Idle; }
    std::int64_t playTempo() const { return tempo_; }
    // -(beats) .. -1 while the count-in beats sound, then the index of the entry after the
    // sounding one.
    std::int64_t playCount() const { return playCount_; }
    bool looping() const { return program_ && program_->loops() && state_ == PlayState::Playing; }
    const std::vector<PlayEntry>& playMusicData() const { return list_; }
    const std::string& title() const { return title_; }
    // The cell heard now, -1 when none (count-in, rests included as their cell).
    std::int64_t soundingCell() const { return soundingCell_; }
    // The program of the run going on or last run (null before the first).
    const PlayProgram* program() const { return program_.get(); }

  private:
    void follow();
    void arm(double delaySeconds);
    void finish(bool withAlert);
    void setTitle(std::string_view title);
    void setSoundingCell(std::int64_t cell);
    // Frames of the program heard now; -1 before it has begun.
    std::int64_t heard() const;

    AudioOutput& output_;
    Clock& clock_;
    PlaybackListener& listener_;
    double follow_;

    PlayState state_ = PlayState::Idle;
    std::int64_t tempo_ = 120;
    std::int64_t beats_ = 4;
    std::int64_t playCount_ = 0;
    std::int64_t soundingCell_ = -1;
    std::int64_t stopAt_ = 0;  // where a requested stop lets the sound end
    std::vector<PlayEntry> list_;
    std::string title_{kPlayTitle};
    std::optional<Clock::TimerId> timer_;
    std::shared_ptr<const PlayProgram> program_;
};

}  // namespace sorvel
