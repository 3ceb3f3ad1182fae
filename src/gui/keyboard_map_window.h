#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "view/key_dispatch.h"

class QLabel;

namespace sorvel::gui {

// Help > Keyboard: the computer keyboard with what each key does in the score window, read
// from the key logic's own tables (keyBindings) and labelled with the legends of the active
// keyboard layout.
class KeyboardMapWindow : public QWidget {
    Q_OBJECT
  public:
    explicit KeyboardMapWindow(QWidget* parent = nullptr);

    // One key as the map draws it.
    struct MapKey {
        std::int64_t code = -1;  // macOS key code; -1 for a key the score window ignores
        QRectF place;            // in key widths
        QString legend;          // what the key shows on the user's keyboard
        QString role;            // what it does, one short line ("C0", "Insert" ...)
        QString shifted;         // what it does with Shift, or empty
        QString description;     // the whole sentence, for the tooltip
        bool hasRole = false;
        KeyRole kind = KeyRole::Command;
        bool blackKey = false;    // a piano key of a sharp or flat
        bool jisOnly = false;     // only on Japanese keyboards
        std::int64_t value = -1;  // a note-value key's value (its glyph), else -1
    };
    const std::vector<MapKey>& keys() const { return keys_; }
    // The layout the legends come from, e.g. "English (US)"; empty when unknown.
    const QString& layoutName() const { return layoutName_; }

    // Reads the keyboard layout again (it may have changed since).
    void refresh();

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QRectF keyRect(const MapKey& key) const;
    double unit() const;

    std::vector<MapKey> keys_;
    QString layoutName_;
    QLabel* caption_ = nullptr;
    QWidget* board_ = nullptr;
    friend class KeyboardBoard;
};

}  // namespace sorvel::gui
