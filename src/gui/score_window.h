#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <set>

#include "app/document.h"
#include "ports/alerts.h"
#include "sound/audio_output.h"
#include "view/key_dispatch.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sorvel {
class UndoHistory;
}  // namespace sorvel

namespace sorvel::gui {

class PointerWidget;
class ScorePlayback;
class StaffWidget;

// Geometry of the score window's staves, in points.
struct ScoreLayout {
    static constexpr int kStaffWidth = 1200;  // 40 cells of 30 points
    static constexpr int kStaffHeight = 140;  // staff spacing of 7 points
    static constexpr int kEntryWidth = 60;
    static constexpr int kLabelColumn = 44;  // page numbers left of the staves
    static constexpr int kChordHeight = 26;
    // Above each staff's band: room for the stems, flags and triplet marks of high notes.
    static constexpr int kStaffHeadroom = 30;
    static constexpr int kRowGap = 6;
    static constexpr int rowTop(int row) {
        return (row - 1) * (kChordHeight + kStaffHeadroom + kStaffHeight + kRowGap);
    }
    // Top of a staff's band (its frame) within its row.
    static constexpr int kBandOffset = kChordHeight + kStaffHeadroom;
};

// The score window: shows one Document and forwards the user's actions to it.
class ScoreWindow : public QMainWindow, public DocumentObserver {
    Q_OBJECT
  public:
    ScoreWindow(std::unique_ptr<Document> doc, const std::string& setFolder,
                std::unique_ptr<AudioOutput> audio = nullptr, QWidget* parent = nullptr);
    ~ScoreWindow() override;

    Document& document() { return *doc_; }
    const Document& document() const { return *doc_; }

    // DocumentObserver
    void staffNeedsDisplay(const GosenView& staff) override;
    void controlsChanged() override;
    void endEditing() override;
    void scoreChanged() override;

    // The widget that holds the keyboard when no field is being edited.
    QWidget* scoreArea() const { return scoreArea_; }
    StaffWidget* staffWidget(int row) const { return staves_[static_cast<std::size_t>(row)]; }

    // Playback: the play button, Space and the Score menu's Play all come here.
    void togglePlayback();
    ScorePlayback& playback() { return *playback_; }
    // The alerts the end of a score is shown with, and where exercise mode is read.
    void setPlaybackContext(Alerts* alerts, std::function<bool()> exerciseMode);
    // Asked before the window closes (the score may be modified); false keeps it open.
    void setCloseCheck(std::function<bool()> mayClose) { mayClose_ = std::move(mayClose); }
    bool closed() const { return closingAnnounced_; }

  signals:
    // The window is closing: its document goes with it.
    void closing(Document* doc);
    // What a save writes changed.
    void edited(Document* doc);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QWidget* buildControls();
    QWidget* buildStaffPanel();
    void staffClicked(int row, double x, bool shift);
    // Takes back an edit of chord field `field` (0 to 2) that made its line too long, and
    // says so in the status bar.
    void refuseChordEdit(std::size_t field, qsizetype editedLength);
    void syncControls();
    bool eventFilter(QObject* watched, QEvent* event) override;
    FocusKind focusKind() const;
    void announceClosing();

    std::unique_ptr<AudioOutput> audio_;
    std::unique_ptr<Document> doc_;
    std::unique_ptr<winCTL> ctl_;
    bool closingAnnounced_ = false;
    std::function<bool()> mayClose_;
    // Key codes pressed while this window had the keyboard, not yet released.
    std::set<std::int64_t> pressedHere_;
    QWidget* scoreArea_ = nullptr;
    std::array<StaffWidget*, 4> staves_{};  // gosenE, gosen1, gosen2, gosen3
    PointerWidget* pointer_ = nullptr;
    std::array<QLabel*, 3> pageLabels_{};
    QLabel* allP_ = nullptr;
    QLabel* gosenRaw_ = nullptr;
    QLabel* gosenCol_ = nullptr;
    QLabel* gosenRawTo_ = nullptr;
    QLabel* gosenColTo_ = nullptr;
    std::array<QLineEdit*, 3> cdText_{};
    QLineEdit* aHz_ = nullptr;
    QComboBox* imgCombo_ = nullptr;
    QComboBox* cmbTempo_ = nullptr;
    QComboBox* cmbInKey_ = nullptr;
    QComboBox* cmbBeat_ = nullptr;
    QCheckBox* withCode_ = nullptr;
    QPushButton* playBtn_ = nullptr;
    QLabel* playMessage_ = nullptr;
    bool syncing_ = false;
    // After the output and the document, so it stops before either goes.
    std::unique_ptr<ScorePlayback> playback_;
};

}  // namespace sorvel::gui
