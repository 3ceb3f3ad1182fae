#include "playback_view.h"

#include <QAbstractButton>
#include <QLabel>
#include <string>

#include "core_text.h"

namespace sorvel::gui {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PlaybackView::PlaybackView(QAbstractButton* playButton, QLabel* messageLine, Alerts& alerts)
    : playButton_(playButton), messageLine_(messageLine), alerts_(alerts) {
    if (messageLine_) messageLine_->hide();
}

void PlaybackView::setPlayButtonTitle(std::string_view title) {
    if (playButton_) playButton_->setText(toQString(title));
}

void PlaybackView::showEndAlert(std::string_view text) {
    alerts_.showAlert(std::string(text), {});
}

void PlaybackView::showPlaybackMessage(std::string_view text) {
    if (!messageLine_) return;
    messageLine_->setText(coreText(toQString(text)));
    messageLine_->setVisible(!text.empty());
}

}  // namespace sorvel::gui
