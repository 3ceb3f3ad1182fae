#include "score_playback.h"

namespace sorvel::gui {
namespace {

// Takes every buffer and forgets it: a window without sound still plays through its score.
class DiscardingOutput : public AudioOutput {
  public:
    PcmFormat outputFormat() const override { return {48000.0, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer) override {}
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    bool dropQueued() override { return true; }
};

}  // namespace

void ScorePlayback::ForwardingAlerts::showAlert(const std::string& text,
                                                const std::string& informativeText) {
    owner_.alerts_->showAlert(text, informativeText);
}

ScorePlayback::ScorePlayback(AudioOutput* output, QAbstractButton* playButton, QLabel* messageLine)
    : silentOutput_(output ? nullptr : std::make_unique<DiscardingOutput>()),
      view_(playButton, messageLine, forwarding_),
      player_(std::make_unique<ScorePlayer>(output ? *output : *silentOutput_, clock_, view_)) {}

// The player's destructor cancels its timer and drops what has not begun to sound.
ScorePlayback::~ScorePlayback() = default;

void ScorePlayback::setContext(Alerts* alerts, std::function<bool()> exerciseMode) {
    alerts_ = alerts ? alerts : &modalAlerts_;
    exerciseMode_ = std::move(exerciseMode);
}

}  // namespace sorvel::gui
