#include "translations.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include "ports/settings.h"

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

QWidget* languageChooser(Settings& settings, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* combo = new QComboBox(row);
    combo->setObjectName(QStringLiteral("prefLanguage"));
    // Each language under its own name, so that it can be found whatever the interface speaks.
    combo->addItem(QObject::tr("System"), QString());
    combo->addItem(QStringLiteral("English"), QStringLiteral("en"));
    combo->addItem(QStringLiteral("日本語"), QStringLiteral("ja"));
    const int stored = combo->findData(QString::fromStdString(settings.get(kLanguageKey)));
    combo->setCurrentIndex(stored < 0 ? 0 : stored);
    QObject::connect(combo, &QComboBox::currentIndexChanged, row, [&settings, combo](int i) {
        settings.set(kLanguageKey, combo->itemData(i).toString().toStdString());
        settings.sync();
    });
    auto* label = new QLabel(QObject::tr("Language:"), row);
    label->setBuddy(combo);
    layout->addWidget(label);
    layout->addWidget(combo);
    layout->addWidget(new QLabel(QObject::tr("(takes effect at the next start)"), row), 1);
    return row;
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
