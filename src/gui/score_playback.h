#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "playback_view.h"
#include "ports/alerts.h"
#include "qt_clock.h"
#include "qt_ports.h"
#include "sound/score_player.h"

class QAbstractButton;
class QLabel;

namespace sorvel::gui {

// The playback of one score window: its player, the main-thread clock the player's ticks run
// on and the view that shows it. Without a sound output (tests) the player runs over one that
// drops the sound and keeps time by the system clock, so the window still counts in and
// plays, silently. With one, the window says once when the sound server has gone away, and
// clears that when it is back.
class ScorePlayback {
  public:
    ScorePlayback(AudioOutput* output, QAbstractButton* playButton, QLabel* messageLine);
    ~ScorePlayback();
    ScorePlayback(const ScorePlayback&) = delete;
    ScorePlayback& operator=(const ScorePlayback&) = delete;

    // Where the "end" alert goes (the application's alerts; a modal box until set) and where
    // the exercise mode is read at every start.
    void setContext(Alerts* alerts, std::function<bool()> exerciseMode);
    bool exerciseMode() const { return exerciseMode_ && exerciseMode_(); }

    // Where the metronome switch is read at every start.
    void setMetronome(std::function<bool()> metronome) { metronome_ = std::move(metronome); }
    // Called with the cell heard now while playback runs (-1: none), for the window to mark
    // it and keep it in view.
    void setSoundingCellHandler(std::function<void(std::int64_t)> handler) {
        view_.onSoundingCell = std::move(handler);
    }
    std::int64_t soundingCell() const { return player_->soundingCell(); }

    // The play button: starts when idle, requests a stop otherwise.
    void toggle(PlayRequest request) {
        request.metronome = metronome_ && metronome_();
        player_->playAll(request);
    }
    void stop() { player_->stop(); }
    void tempoChanged(const std::string& tempoText) { player_->cmbTempoChange(tempoText); }
    bool playing() const { return !player_->idle(); }
    const ScorePlayer& player() const { return *player_; }

  private:
    // Hands the alert to whichever alerts are current.
    class ForwardingAlerts : public Alerts {
      public:
        explicit ForwardingAlerts(ScorePlayback& owner) : owner_(owner) {}
        void showAlert(const std::string& text, const std::string& informativeText) override;

      private:
        ScorePlayback& owner_;
    };

    QtAlerts modalAlerts_;
    Alerts* alerts_ = &modalAlerts_;
    ForwardingAlerts forwarding_{*this};
    void watchServer();

    std::function<bool()> exerciseMode_;
    std::function<bool()> metronome_;
    std::unique_ptr<AudioOutput> silentOutput_;
    QPointer<QTimer> serverWatch_;
    bool sawServer_ = false;
    bool toldGone_ = false;
    QtClock clock_;
    PlaybackView view_;
    // Last, so it goes first: its destructor cancels its timer on the clock above.
    std::unique_ptr<ScorePlayer> player_;
};

}  // namespace sorvel::gui
