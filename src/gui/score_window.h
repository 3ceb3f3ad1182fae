#pragma once

#include <QList>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <set>

#include "app/document.h"
#include "ports/alerts.h"
#include "sound/audio_output.h"
#include "staff_panel.h"
#include "view/key_dispatch.h"

class QAction;
class QButtonGroup;
class QLayout;
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
    StaffPanel& staffPanel() { return *panel_; }

    // View > Zoom In, Zoom Out, Actual Size, Fit to Window: the window's own actions.
    const QList<QAction*>& zoomActions() const { return zoomActions_; }
    // Shows the staves at zoom, the window growing for them where the screen has room.
    void zoomTo(double zoom);

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
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QWidget* buildControls();
    QWidget* buildStaffPanel();
    void buildStatusBar();
    void buildZoomActions();
    void showZoom();
    // The one-line hint on the keys, for whoever has the keyboard.
    void showKeyHint();
    void updateMinimumSize();
    // The note-value buttons' glyphs, in the palette's button text colour.
    void paintGlyphs(QWidget* buttons);
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
    StaffPanel* panel_ = nullptr;
    QLayout* controls_ = nullptr;
    QLabel* keyHint_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QList<QAction*> zoomActions_;
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
