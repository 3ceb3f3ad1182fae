#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "app/tuner.h"
#include "sound/pitch_listener.h"

class QLabel;
class QPushButton;
class QTimer;

namespace sorvel::gui {

class CentsMeter;
class StaffWidget;

// The tuner window: the tuner note on a one-cell staff, five pitch steps, the play button
// and the frequency label. It has a sound output of its own, opened for each tone.
// Below, the Listen switch: the window listens to the microphone and shows the played note
// with its name and picture, its frequency and how many cents it is off, against the
// reference pitch of the score it was opened for.
class TunerWindow : public QWidget {
    Q_OBJECT
  public:
    // The play button's titles while silent and while sounding.
    static const QString kPlayTitle;
    static const QString kStopTitle;

    // The Listen switch's titles.
    static const QString kListenTitle;
    static const QString kListeningTitle;
    // How often the window looks at the latest reading while listening.
    static constexpr int kListenPollMs = 20;

    // setFolder: where the image sets are. factory: the tuner's sound output, input: its
    // sound input (the platform's default devices when empty).
    explicit TunerWindow(std::string setFolder, Tuner::OutputFactory factory = {},
                         PitchListener::InputFactory input = {}, QWidget* parent = nullptr);
    ~TunerWindow() override;

    // The image set the staff draws the note with (sel_inst).
    void setImageSet(const std::string& name);
    const std::string& imageSet() const { return selInst_; }
    // The set folder changed: the staves take their pictures from the new one.
    void setSetFolder(const std::string& folder);

    Tuner& tuner() { return *tuner_; }
    // Clicks the play button's action (start or stop) and refreshes the window.
    void play();
    void UpDown(int row);

    // The reference pitch (A of octave 1, in Hz) of the score the tuner was opened for.
    void setReferencePitch(std::int64_t hz);
    std::int64_t referencePitch() const { return listener_->referencePitch(); }
    // The Listen switch's action: starts or stops listening.
    void listen();
    bool listening() const { return listener_->listening(); }
    PitchListener& listener() { return *listener_; }
    // Brings the listening display up to date with the latest reading (the poll timer's work).
    void showReading();
    // The displayed reading as one line, e.g. "A1 +23 cents 446.0 Hz", or "No note".
    QString readingText() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void refresh();
    void showNoteName();
    void refreshListen();
    // The picture of the note heard, or none for an empty path.
    void showListenPicture(const QString& path);

    std::string setFolder_;
    std::string selInst_;
    std::unique_ptr<Tuner> tuner_;
    StaffWidget* staff_ = nullptr;
    QLabel* lblNoteName_ = nullptr;
    QLabel* lblHz_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* btnPlay_ = nullptr;

    std::unique_ptr<PitchListener> listener_;
    // SORVEL_TUNER_LOG set: every new reading is also written as a diagnostic line, so that
    // a script can follow what the window shows.
    bool logReadings_ = false;
    std::uint64_t shownSerial_ = 0;
    ListenReading displayed_;
    QString picturePath_;
    QPushButton* btnListen_ = nullptr;
    QLabel* lblReference_ = nullptr;
    QLabel* imgListen_ = nullptr;
    QLabel* lblNote_ = nullptr;
    QLabel* lblListenHz_ = nullptr;
    QLabel* lblCents_ = nullptr;
    QLabel* listenStatus_ = nullptr;
    CentsMeter* meter_ = nullptr;
    QTimer* poll_ = nullptr;
};

}  // namespace sorvel::gui
