#pragma once

#include <QPointer>
#include <functional>

#include "ports/alerts.h"
#include "sound/score_player.h"

class QAbstractButton;
class QLabel;

namespace sorvel::gui {

// Shows a score window's playback: the play button's title, a one-line message next to the
// controls (hidden while empty), and the "end" alert. Widgets that are gone are skipped.
class PlaybackView : public PlaybackListener {
  public:
    PlaybackView(QAbstractButton* playButton, QLabel* messageLine, Alerts& alerts);

    void setPlayButtonTitle(std::string_view title) override;
    void showEndAlert(std::string_view text) override;
    void showPlaybackMessage(std::string_view text) override;
    void soundingCellChanged(std::int64_t cell) override {
        if (onSoundingCell) onSoundingCell(cell);
    }
    // Told the cell heard now (-1: none); the window marks it and keeps it in view.
    std::function<void(std::int64_t)> onSoundingCell;

  private:
    QPointer<QAbstractButton> playButton_;
    QPointer<QLabel> messageLine_;
    Alerts& alerts_;
};

}  // namespace sorvel::gui
