#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <string>

namespace sorvel::test {

// The set folder the build generated (image sets and scale.csv).
inline std::string setFolder() {
    const char* env = std::getenv("SORVEL_TEST_SET");
    return env ? env : "set";
}

inline QString labelText(const QWidget& root, const char* name) {
    auto* label = root.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

// Clicks the button of that object name; false when the window has none.
inline bool clickButton(QWidget& root, const char* name) {
    auto* button = root.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!button) return false;
    button->click();
    return true;
}

// The action of a window's menu bar whose text, without "&" and "…", is text; nullptr when
// there is none.
inline QAction* menuAction(QMainWindow& window, const QString& text) {
    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            QString plain = action->text();
            plain.remove(QLatin1Char('&')).remove(QChar(0x2026));
            if (plain == text) return action;
        }
    }
    return nullptr;
}

}  // namespace sorvel::test
