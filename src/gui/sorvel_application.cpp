#include "sorvel_application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include "app/recent_files.h"
#include "score_window.h"
#include "sound_output.h"
#include "window_placement.h"

namespace sorvel::gui {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

const QString kModifiedMark = QStringLiteral("[*]");

// Qt shows "[*]" as the modified mark; one in the name itself is doubled to stay.
void setTitle(QWidget* w, QString title) {
    w->setWindowTitle(title.replace(kModifiedMark, kModifiedMark + kModifiedMark) + kModifiedMark);
}

QString recoveryFolderOf(const PortOverrides& overrides) {
    if (overrides.recoveryFolder) return *overrides.recoveryFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

}  // namespace

SorvelApplication::SorvelApplication(const QString& appFolder, PortOverrides overrides)
    : silent_(overrides.silent), settings_(overrides.settings ? *overrides.settings : qtSettings_) {
    printDialogs_ = overrides.printDialogs;
    AppPorts ports{overrides.alerts ? *overrides.alerts : qtAlerts_,
                   overrides.dialogs ? *overrides.dialogs : qtDialogs_,
                   settings_,
                   *this,
                   overrides.writer ? *overrides.writer : qtWriter_,
                   overrides.questions ? *overrides.questions : qtQuestions_,
                   processes_};
    alerts_ = &ports.alerts;
    delegate_ = std::make_unique<AppDelegate>(ports, appFolder.toStdString(),
                                              recoveryFolderOf(overrides).toStdString());
    buildTitleWindow();
    buildPreferencesWindow();
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delegate_->quit(); });
    snapshotTimer_.setSingleShot(true);
    connect(&snapshotTimer_, &QTimer::timeout, this,
            [this] { delegate_->writePendingSnapshots(); });
}

SorvelApplication::~SorvelApplication() {
    // Windows (and their documents) go before the application state they record on.
    for (const QPointer<ScoreWindow>& w : windows_) {
        if (!w) continue;
        delegate_->documentClosed(&w->document());
        delete w.data();
    }
    delete titleWindow_.data();
    delete prefWindow_.data();
}

bool SorvelApplication::start(const std::vector<std::string>& paths) {
    return delegate_->start(paths);
}

QList<ScoreWindow*> SorvelApplication::scoreWindows() const {
    QList<ScoreWindow*> out;
    for (const QPointer<ScoreWindow>& w : windows_) {
        if (w) out << w.data();
    }
    return out;
}

ScoreWindow* SorvelApplication::windowOf(const Document& doc) const {
    for (ScoreWindow* w : scoreWindows()) {
        if (&w->document() == &doc) return w;
    }
    return nullptr;
}

KeyWindow SorvelApplication::keyWindow() const {
    QWidget* active = QApplication::activeWindow();
    if (!active) return {};
    if (auto* score = qobject_cast<ScoreWindow*>(active)) {
        return {KeyWindowKind::Score, &score->document()};
    }
    return {KeyWindowKind::Other, nullptr};
}

Document* SorvelApplication::newScoreDocument() {
    auto doc = std::make_unique<Document>();
    std::unique_ptr<AudioOutput> audio;
    if (!silent_) audio = std::make_unique<SoundOutput>();
    auto* w = new ScoreWindow(std::move(doc), delegate_->documentSetFolder(), std::move(audio));
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setPlaybackContext(alerts_, [this] { return delegate_->exerciseMode(); });
    ++untitledCount_;
    setTitle(w, untitledCount_ == 1 ? tr("Untitled") : tr("Untitled %1").arg(untitledCount_));
    installMenus(w);
    connect(w, &ScoreWindow::closing, this, [this](Document* d) { delegate_->documentClosed(d); });
    w->setCloseCheck([this, w] { return quitting_ || delegate_->documentMayClose(w->document()); });
    connect(w, &ScoreWindow::edited, this, [this](Document* d) { scoreEdited(*d); });
    // Cascade new windows a little so each stays visible.
    const int offset = 24 * (static_cast<int>(scoreWindows().size()) % 6);
    windows_.append(w);
    std::optional<QPoint> at;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        at = screen->availableGeometry().topLeft() + QPoint(offset, offset);
    }
    showOnScreen(w, at);
    QApplication::setActiveWindow(w);
    return &w->document();
}

std::string SorvelApplication::windowTitle(const Document& doc) const {
    ScoreWindow* w = windowOf(doc);
    if (!w) return {};
    QString title = w->windowTitle();
    if (title.endsWith(kModifiedMark)) title.chop(kModifiedMark.size());
    return title.replace(kModifiedMark + kModifiedMark, kModifiedMark).toStdString();
}

void SorvelApplication::setWindowTitle(Document& doc, const std::string& title) {
    if (ScoreWindow* w = windowOf(doc)) setTitle(w, q(title));
}

void SorvelApplication::runAfter(double seconds, std::function<void()> callback) {
    QTimer::singleShot(static_cast<int>(seconds * 1000), this, std::move(callback));
}

void SorvelApplication::quit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace sorvel::gui
