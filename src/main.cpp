#include <QApplication>
#include <QIcon>

#include "app_resources.h"
#include "sorvel_application.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Sorvel"));
    QApplication::setApplicationName(QStringLiteral("Sorvel Score"));
    QApplication::setApplicationDisplayName(QStringLiteral("Sorvel Score"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));
    QApplication::setDesktopFileName(QStringLiteral("sorvelscore"));
    sorvel::gui::loadAppResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sorvelscore.png")));

    sorvel::gui::SorvelApplication sorvelApp(QApplication::applicationDirPath());
    if (!sorvelApp.start(QApplication::arguments().mid(1))) return 1;
    return QApplication::exec();
}
