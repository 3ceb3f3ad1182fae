#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "app/tuner.h"

class QLabel;
class QPushButton;
class QTimer;

namespace sorvel::gui {

class StaffWidget;

// The tuner window: the tuner note on a one-cell staff, five pitch steps, the play button
// and the frequency label. It has a sound output of its own, opened for each tone.
class TunerWindow : public QWidget {
    Q_OBJECT
  public:
    // The play button's titles while silent and while sounding.
    static const QString kPlayTitle;
    static const QString kStopTitle;

    // setFolder: where the image sets are. factory: the tuner's sound output (the platform's
    // by default).
    explicit TunerWindow(std::string setFolder, Tuner::OutputFactory factory = {},
                         QWidget* parent = nullptr);
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

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void refresh();

    std::string setFolder_;
    std::string selInst_;
    std::unique_ptr<Tuner> tuner_;
    StaffWidget* staff_ = nullptr;
    QLabel* lblHz_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* btnPlay_ = nullptr;
    QTimer* feed_ = nullptr;
};

}  // namespace sorvel::gui
