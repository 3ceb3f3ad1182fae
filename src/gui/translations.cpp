#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace sorvel::gui {

QString uiLanguage(const QString& choice, const QStringList& desktopLanguages) {
    if (choice == QLatin1String("en") || choice == QLatin1String("ja")) return choice;
    for (const QString& language : desktopLanguages) {
        // "ja", "ja-JP", "ja_JP": only the language counts. English is what we speak otherwise.
        if (language.startsWith(QLatin1String("ja"))) return QStringLiteral("ja");
        if (language.startsWith(QLatin1String("en"))) return QStringLiteral("en");
    }
    return QStringLiteral("en");
}

void installTranslators() {
    const QString choice = QSettings().value(QLatin1String(kLanguageKey)).toString();
    const QString language = uiLanguage(choice, QLocale::system().uiLanguages());
    auto* app = QCoreApplication::instance();
    auto* ours = new QTranslator(app);
    if (ours->load(QStringLiteral(":/i18n/sorvelscore_%1.qm").arg(language))) {
        QCoreApplication::installTranslator(ours);
    }
    // Qt's own texts (buttons of the standard dialogs, the file and print dialogs).
    auto* qt = new QTranslator(app);
    if (language != QLatin1String("en") &&
        qt->load(QStringLiteral("qtbase_%1").arg(language),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    }
}

}  // namespace sorvel::gui
