#include "score_playback.h"

#include <QLabel>
#include <QTimer>
#include <chrono>

#include "model/diagnostics.h"
#include "sound_output.h"

namespace sorvel::gui {
namespace {

constexpr double kRate = 48000.0;
constexpr int kServerWatchMs = 250;
// Shown in the message line, which translates it.
constexpr const char* kServerGone = QT_TRANSLATE_NOOP(
    "CoreText", "The sound server has gone away: sound comes back by itself when it returns.");

// Takes every buffer and forgets it, and plays programs by the system clock with no latency:
// a window without sound still plays through its score.
class DiscardingOutput : public AudioOutput {
  public:
    PcmFormat outputFormat() const override { return {kRate, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer) override {}
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    bool dropQueued() override { return true; }
    void startProgram(std::shared_ptr<const PlayProgram> program) override {
        program_ = std::move(program);
        started_ = std::chrono::steady_clock::now();
    }
    ProgramClock programClock() const override {
        if (!program_) return {};
        const std::chrono::duration<double> since = std::chrono::steady_clock::now() - started_;
        const auto frames = static_cast<std::int64_t>(since.count() * kRate);
        return {program_.get(), frames, frames};
    }

  private:
    std::shared_ptr<const PlayProgram> program_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace

void ScorePlayback::ForwardingAlerts::showAlert(const std::string& text,
                                                const std::string& informativeText) {
    owner_.alerts_->showAlert(text, informativeText);
}

ScorePlayback::ScorePlayback(AudioOutput* output, QAbstractButton* playButton, QLabel* messageLine)
    : silentOutput_(output ? nullptr : std::make_unique<DiscardingOutput>()),
      view_(playButton, messageLine, forwarding_),
      player_(std::make_unique<ScorePlayer>(output ? *output : *silentOutput_, clock_, view_)) {
    if (!output || !messageLine) return;
    serverWatch_ = new QTimer(messageLine);
    serverWatch_->setInterval(kServerWatchMs);
    QObject::connect(serverWatch_, &QTimer::timeout, messageLine, [this] { watchServer(); });
    serverWatch_->start();
}

void ScorePlayback::watchServer() {
    // A machine without any sound server hears of it at the play button; here the window
    // tells of a server that went away.
    const ServerState state = SoundOutput::serverState();
    if (state == ServerState::Ready) sawServer_ = true;
    const bool gone = sawServer_ && state == ServerState::Gone;
    if (gone == toldGone_) return;
    toldGone_ = gone;
    if (gone) diag(kServerGone);
    view_.showPlaybackMessage(gone ? kServerGone : "");
}

// The player's destructor cancels its timer and drops what has not begun to sound.
ScorePlayback::~ScorePlayback() {
    delete serverWatch_.data();
}

void ScorePlayback::setContext(Alerts* alerts, std::function<bool()> exerciseMode) {
    alerts_ = alerts ? alerts : &modalAlerts_;
    exerciseMode_ = std::move(exerciseMode);
}

}  // namespace sorvel::gui
