#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace sorvel {
class Settings;
}

namespace sorvel::gui {

// The settings key of the language choice: "" (the desktop's), "en" or "ja".
inline constexpr const char* kLanguageKey = "language";

// The language the user interface speaks ("en" or "ja"): the choice, or else the first of the
// desktop's languages that we have.
QString uiLanguage(const QString& choice, const QStringList& desktopLanguages);

// The Preferences row that chooses the language (System, English, 日本語) for the next start;
// the choice is stored in settings at once.
QWidget* languageChooser(Settings& settings, QWidget* parent);

// Installs our translation and Qt's own (the standard dialogs) for the language the settings
// choose or the desktop asks for. Call once, after the application object exists.
void installTranslators();

}  // namespace sorvel::gui
