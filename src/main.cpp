#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QSettings>

#include "app_resources.h"
#include "model/document.h"
#include "score_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Sorvel"));
    QApplication::setApplicationName(QStringLiteral("Sorvel Score"));
    sorvel::gui::loadAppResources();
    QSettings settings;
    const QString setFolder = settings.contains(QStringLiteral("filePass"))
                                  ? settings.value(QStringLiteral("filePass")).toString()
                                  : QApplication::applicationDirPath() + QStringLiteral("/set");
    auto* window = new sorvel::gui::ScoreWindow(std::make_unique<sorvel::Document>(),
                                                setFolder.toStdString());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}
