#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/score.h"
#include "sound/audio_output.h"
#include "sound/clock.h"
#include "sound/play_list.h"

namespace sorvel {

// Titles of the play button: idle, and while the count-in or the notes run.
inline constexpr std::string_view kPlayTitle = "▶︎";
inline constexpr std::string_view kPlayAlternateTitle = "■";
// Message of the alert shown while the last note of the score sounds.
inline constexpr std::string_view kEndAlertText = "end";
// Count-in clicks: the first beat of the bar, then the others.
inline constexpr float kFirstBeatClickHz = 1880.0f;
inline constexpr float kBeatClickHz = 1250.0f;
// Accepted tempo (quarter notes per minute) and beats per bar.
inline constexpr std::int64_t kMaxTempo = 1000;
inline constexpr std::int64_t kMaxBeats = 64;
// How long before the queued sound runs out the next buffer is handed to the output.
inline constexpr double kDefaultLookaheadSeconds = 0.05;

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
};

// What a start reads, as it is at the press of the button: the score's cells and its tempo,
// key and beat choices, and the window's selection and pitch table.
struct PlayRequest {
    const Score* score = nullptr;
    std::int64_t startIndex = -1;                 // the selected cell, -1 outside the score
    const std::vector<float>* freqArr = nullptr;  // pitch table of the entry staff
    bool exercise = false;
    std::int64_t cellsPerLine = kCellsPerLine;
};

// A whole decimal number from 1 to max with nothing else but surrounding spaces; nothing
// otherwise.
std::optional<std::int64_t> parseCount(std::string_view text, std::int64_t max);

// Plays a score: one bar of count-in clicks, then the play list, once or (exercise mode) in a
// loop. Every buffer goes to the output a little ahead of time and the output plays them back
// to back, so the sound is placed sample-exactly whatever the timers' lateness; the timers
// only keep the queue filled. Pressing again stops after the sounding note.
class ScorePlayer {
  public:
    ScorePlayer(AudioOutput& output, Clock& clock, PlaybackListener& listener,
                double lookaheadSeconds = kDefaultLookaheadSeconds);
    // Cancels the armed timer; queued sound is left to the output.
    ~ScorePlayer();
    ScorePlayer(const ScorePlayer&) = delete;
    ScorePlayer& operator=(const ScorePlayer&) = delete;

    // The play button: starts when idle, requests a stop otherwise.
    void playAll(const PlayRequest& request);
    // Requests a stop when playing; nothing when idle.
    void stop();
    // The tempo box changed: later count-in beats use the new tempo, the list keeps its lengths.
    // Refused with a message when the text is no tempo.
    void cmbTempoChange(std::string_view tempoText);

    PlayState state() const { return state_; }
    bool idle() const { return state_ == PlayState::Idle; }
    std::int64_t playTempo() const { return tempo_; }
    std::int64_t playCount() const { return playCount_; }
    bool looping() const { return loop_; }
    const std::vector<PlayEntry>& playMusicData() const { return list_; }
    const std::string& title() const { return title_; }

  private:
    void tick();
    // Hands a non-empty buffer to the output, right behind what is queued.
    void queueBuffer(PcmBuffer buffer);
    void arm(double delaySeconds);
    void finish(bool withAlert);
    void setTitle(std::string_view title);
    double queuedEnd() const;
    double timeOfFrame(std::int64_t frame) const;

    AudioOutput& output_;
    Clock& clock_;
    PlaybackListener& listener_;
    double lookahead_;

    PlayState state_ = PlayState::Idle;
    std::int64_t tempo_ = 120;
    std::int64_t beats_ = 4;
    std::int64_t playCount_ = 0;
    bool loop_ = false;
    bool endPending_ = false;  // the last entry is queued; idle once it starts sounding
    std::vector<PlayEntry> list_;
    std::string title_{kPlayTitle};
    std::optional<Clock::TimerId> timer_;

    // The output's timeline: frame 0 sounds at anchor_, frames_ are queued after it.
    PcmFormat format_;
    double anchor_ = 0.0;
    std::int64_t frames_ = 0;
    // Start frames of the buffers handed over that may not have started sounding yet.
    std::deque<std::int64_t> bufferStarts_;
};

}  // namespace sorvel
