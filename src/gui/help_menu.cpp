// Help > Keyboard and Help > User Guide.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "keyboard_map_window.h"
#include "sorvel_application.h"
#include "window_placement.h"

namespace sorvel::gui {

namespace {

// The user guide: the HTML pages installed beside the application, with their pictures.
class UserGuideWindow : public QWidget {
    Q_OBJECT
  public:
    explicit UserGuideWindow(const QString& folder) : QWidget(nullptr, Qt::Window) {
        setObjectName(QStringLiteral("userGuide"));
        setWindowTitle(tr("Sorvel Score User Guide"));
        auto* col = new QVBoxLayout(this);
        auto* buttons = new QHBoxLayout;
        auto* back = new QPushButton(tr("Back"), this);
        auto* home = new QPushButton(tr("Contents"), this);
        buttons->addWidget(back);
        buttons->addWidget(home);
        buttons->addStretch(1);
        col->addLayout(buttons);
        auto* browser = new QTextBrowser(this);
        browser->setObjectName(QStringLiteral("guideBrowser"));
        browser->setOpenExternalLinks(true);
        col->addWidget(browser, 1);
        connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
        connect(home, &QPushButton::clicked, browser, &QTextBrowser::home);
        connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        back->setEnabled(false);
        // The pages in the interface's language where there are any (guide/ja), else English.
        const QString translated = QDir(folder).filePath(
            QCoreApplication::translate("sorvel::gui::UserGuideWindow", "index.html",
                                        "the guide's first page, relative to guide/"));
        const QString index = QFileInfo::exists(translated)
                                  ? translated
                                  : QDir(folder).filePath(QStringLiteral("index.html"));
        if (QFileInfo::exists(index)) {
            browser->setSource(QUrl::fromLocalFile(index));
        } else {
            browser->setPlainText(tr("The user guide is not installed: %1 is missing.")
                                      .arg(QDir::toNativeSeparators(index)));
        }
        resize(860, 680);
    }
};

}  // namespace

struct HelpWindows {
    ~HelpWindows() {
        delete keyboard.data();
        delete guide.data();
    }
    QPointer<KeyboardMapWindow> keyboard;
    QPointer<QWidget> guide;
};

void SorvelApplication::installHelpMenu(QMenu* help) {
    if (!helpWindows_) helpWindows_ = std::make_shared<HelpWindows>();
    HelpWindows* h = helpWindows_.get();
    QAction* keys = help->addAction(tr("&Keyboard"));
    keys->setObjectName(QStringLiteral("showKeyboard"));
    keys->setShortcut(QKeySequence::HelpContents);
    connect(keys, &QAction::triggered, this, [h] {
        if (!h->keyboard) {
            h->keyboard = new KeyboardMapWindow;
        } else {
            h->keyboard->refresh();
        }
        showOnScreen(h->keyboard);
    });
    QAction* guide = help->addAction(tr("User &Guide"));
    guide->setObjectName(QStringLiteral("showGuide"));
    connect(guide, &QAction::triggered, this, [this, h] {
        if (!h->guide) {
            h->guide = new UserGuideWindow(QString::fromStdString(delegate_->appFolder()) +
                                           QStringLiteral("/guide"));
        }
        showOnScreen(h->guide);
    });
}

}  // namespace sorvel::gui

#include "help_menu.moc"
