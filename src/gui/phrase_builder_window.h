#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QWidget>
#include <array>
#include <functional>

#include "scaleedit/phrase_builder.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace sorvel {
class Alerts;
class PhraseScore;
}  // namespace sorvel

namespace sorvel::gui {

// The pattern table as two editable columns: the name ("key") first, the offsets second.
class PatternTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit PatternTableModel(PhraseBuilder& builder, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The table changed underneath (rows added or removed).
    void reload();

    // Told why an edit was refused.
    std::function<void(const QString&)> onRefused;

  private:
    PhraseBuilder& builder_;
};

// The picture of a note button, drawn here as the build draws the note picture folder's; stands
// in for a picture missing there.
QIcon noteButtonIcon(std::size_t button, phrase::Clef clef);

// Where the note button pictures drawn at build time lie: "notes" beside the application.
QString defaultNotePictureFolder();

// The phrase builder window: phrase and line fields, chord symbols, note buttons with a
// clef toggle, the pattern table, and the commands that build and send the line. One per
// application; closing only hides it.
class PhraseBuilderWindow : public QWidget {
    Q_OBJECT
  public:
    // The note buttons show the pictures of notePictureFolder (the default folder when
    // empty).
    PhraseBuilderWindow(PhraseBuilder& builder, Alerts& alerts, QWidget* parent = nullptr,
                        const QString& notePictureFolder = QString());

    // Loads the note button pictures from another folder; a picture it lacks is painted
    // instead. Returns how many of them it lacks.
    std::size_t setNotePictureFolder(const QString& folder);
    QString notePictureFolder() const { return notePictureFolder_; }

    // The score the line goes to (the document chosen when the window was last shown);
    // may be null.
    void setScore(PhraseScore* score) { score_ = score; }
    PhraseScore* score() const { return score_; }

    // Shows the phrase, line and chord fields as the builder holds them.
    void refreshFields();
    PatternTableModel& tableModel() { return *model_; }

    // The commands of the window, as its buttons send them.
    void toggleClef(bool bass);
    void clickNote(std::size_t button);
    void transposeUp();
    void transposeDown();
    void addPhrase();
    void circleOfFourths(bool shortForm);
    void applyChords();
    void addPatternRow();
    void deletePatternRow();
    void sendLine();
    void playPhrase();

  private:
    void buildLayout();
    void pullFields();
    void showMessage(const QString& text);

    PhraseBuilder& builder_;
    Alerts& alerts_;
    PhraseScore* score_ = nullptr;
    PatternTableModel* model_ = nullptr;

    QLineEdit* phraseField_ = nullptr;
    QLineEdit* lineField_ = nullptr;
    QLineEdit* rootField_ = nullptr;
    QLineEdit* chordField_ = nullptr;
    QTableView* table_ = nullptr;
    QPushButton* clefToggle_ = nullptr;
    QLabel* message_ = nullptr;
    std::array<QPushButton*, phrase::kNoteButtons> noteButtons_{};
    QString notePictureFolder_;
    // Per button the treble and the bass picture; null where the folder lacks it.
    std::array<std::array<QIcon, 2>, phrase::kNoteButtons> notePictures_{};
};

}  // namespace sorvel::gui
