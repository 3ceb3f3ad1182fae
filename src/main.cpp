#include <QApplication>
#include <QIcon>
#include <string>
#include <vector>

#include "app_resources.h"
#include "sorvel_application.h"
#include "translations.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Sorvel"));
    QApplication::setApplicationName(QStringLiteral("Sorvel Score"));
    QApplication::setApplicationDisplayName(QStringLiteral("Sorvel Score"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));
    QApplication::setDesktopFileName(QStringLiteral("sorvelscore"));
    sorvel::gui::installTranslators();
    sorvel::gui::loadAppResources();
    sorvel::gui::applyPaletteChoice();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sorvelscore.png")));

    sorvel::gui::SorvelApplication sorvelApp(QApplication::applicationDirPath());
    // File names are passed on as the bytes the system gave, so names that are not valid
    // UTF-8 still open; QApplication has already taken its own options out of argv.
    std::vector<std::string> files(argv + 1, argv + argc);
    sorvelApp.keepScoresAtUnaskedEnds();
    if (!sorvelApp.start(files)) return 1;
    return QApplication::exec();
}
