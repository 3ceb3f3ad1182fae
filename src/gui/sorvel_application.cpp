#include "sorvel_application.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include "score_window.h"
#include "sound_output.h"

namespace sorvel::gui {

namespace {

constexpr int kMaxRecentFiles = 10;
const QString kRecentKey = QStringLiteral("recentFiles");

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The title window closes when clicked.
class TitleWindow : public QWidget {
  public:
    TitleWindow()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setObjectName(QStringLiteral("titleWindow"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowTitle(QApplication::applicationDisplayName());
        setStyleSheet(QStringLiteral("background: white;"));
        auto* col = new QVBoxLayout(this);
        col->setContentsMargins(36, 28, 36, 28);
        auto* icon = new QLabel(this);
        icon->setPixmap(QIcon(QStringLiteral(":/icons/sorvelscore.png")).pixmap(96, 96));
        icon->setAlignment(Qt::AlignCenter);
        auto* name = new QLabel(QStringLiteral("Sorvel Score"), this);
        QFont f = name->font();
        f.setPointSizeF(f.pointSizeF() * 2.2);
        f.setBold(true);
        name->setFont(f);
        name->setAlignment(Qt::AlignCenter);
        auto* line = new QLabel(QObject::tr("Write, hear and practise melodies.\nVersion %1")
                                    .arg(QApplication::applicationVersion()),
                                this);
        line->setAlignment(Qt::AlignCenter);
        auto* font = new QLabel(
            QObject::tr("Notation font made from Emmentaler (SIL Open Font License 1.1)."), this);
        font->setAlignment(Qt::AlignCenter);
        QFont small = font->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        font->setFont(small);
        col->addWidget(icon);
        col->addWidget(name);
        col->addWidget(line);
        col->addSpacing(8);
        col->addWidget(font);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent*) override { close(); }
};

}  // namespace

SorvelApplication::SorvelApplication(const QString& appFolder, PortOverrides overrides)
    : silent_(overrides.silent) {
    AppPorts ports{overrides.alerts ? *overrides.alerts : qtAlerts_,
                   overrides.dialogs ? *overrides.dialogs : qtDialogs_,
                   overrides.settings ? *overrides.settings : qtSettings_, *this,
                   overrides.writer ? *overrides.writer : qtWriter_};
    delegate_ = std::make_unique<AppDelegate>(ports, appFolder.toStdString());
    buildTitleWindow();
    buildPreferencesWindow();
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delegate_->quit(); });
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
    auto doc = std::make_unique<Document>(&delegate_->undoHistory());
    std::unique_ptr<AudioOutput> audio;
    if (!silent_) audio = std::make_unique<SoundOutput>();
    auto* w = new ScoreWindow(std::move(doc), delegate_->documentSetFolder(), std::move(audio));
    w->setAttribute(Qt::WA_DeleteOnClose);
    ++untitledCount_;
    w->setWindowTitle(untitledCount_ == 1 ? tr("Untitled") : tr("Untitled %1").arg(untitledCount_));
    installMenus(w);
    connect(w, &ScoreWindow::closing, this, [this](Document* d) { delegate_->documentClosed(d); });
    // Cascade new windows a little so each stays visible.
    const int offset = 24 * (static_cast<int>(scoreWindows().size()) % 6);
    windows_.append(w);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        w->move(area.topLeft() + QPoint(offset, offset));
    }
    w->show();
    w->raise();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    return &w->document();
}

std::string SorvelApplication::windowTitle(const Document& doc) const {
    ScoreWindow* w = windowOf(doc);
    return w ? w->windowTitle().toStdString() : std::string();
}

void SorvelApplication::setWindowTitle(Document& doc, const std::string& title) {
    if (ScoreWindow* w = windowOf(doc)) w->setWindowTitle(q(title));
}

void SorvelApplication::buildTitleWindow() {
    titleWindow_ = new TitleWindow;
    titleWindow_->adjustSize();
}

void SorvelApplication::showTitleWindow() {
    if (!titleWindow_) return;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        titleWindow_->move(area.center() - titleWindow_->rect().center());
    }
    titleWindow_->show();
    titleWindow_->raise();
}

void SorvelApplication::closeTitleWindow() {
    if (titleWindow_) titleWindow_->close();
}

void SorvelApplication::buildPreferencesWindow() {
    prefWindow_ = new QMainWindow;
    prefWindow_->setObjectName(QStringLiteral("prefWindow"));
    prefWindow_->setWindowTitle(tr("Preferences"));
    auto* central = new QWidget(prefWindow_);
    auto* col = new QVBoxLayout(central);
    auto* row = new QHBoxLayout;
    prefURL_ = new QLineEdit(central);
    prefURL_->setObjectName(QStringLiteral("prefURL"));
    prefURL_->setMinimumWidth(420);
    connect(prefURL_, &QLineEdit::textEdited, this,
            [this](const QString& t) { delegate_->prefURL = t.toStdString(); });
    auto* choose = new QPushButton(tr("Choose…"), central);
    choose->setObjectName(QStringLiteral("selectFol"));
    connect(choose, &QPushButton::clicked, this, [this] { delegate_->selectFol(); });
    row->addWidget(new QLabel(tr("Set folder:"), central));
    row->addWidget(prefURL_, 1);
    row->addWidget(choose);
    col->addLayout(row);
    auto* note = new QLabel(tr("The set folder holds the picture sets and scale.csv. "
                               "A new folder takes effect at the next start."),
                            central);
    note->setWordWrap(true);
    col->addWidget(note);
    prefWindow_->setCentralWidget(central);
    installMenus(prefWindow_);
}

void SorvelApplication::showPreferencesWindow() {
    if (!prefWindow_) return;
    applicationControlsChanged();
    prefWindow_->show();
    prefWindow_->raise();
    prefWindow_->activateWindow();
}

void SorvelApplication::closePreferencesWindow() {
    if (prefWindow_) prefWindow_->close();
}

void SorvelApplication::applicationControlsChanged() {
    if (prefURL_ && prefURL_->text() != q(delegate_->prefURL))
        prefURL_->setText(q(delegate_->prefURL));
    for (const QPointer<QAction>& a : songActions_) {
        if (a) a->setChecked(delegate_->mnSong.on);
    }
    for (const QPointer<QAction>& a : exerciseActions_) {
        if (a) a->setChecked(delegate_->mnExercise.on);
    }
}

void SorvelApplication::runAfter(double seconds, std::function<void()> callback) {
    QTimer::singleShot(static_cast<int>(seconds * 1000), this, std::move(callback));
}

void SorvelApplication::addRecentFile(const std::string& path) {
    QSettings settings;
    QStringList recent = settings.value(kRecentKey).toStringList();
    const QString p = q(path);
    recent.removeAll(p);
    recent.prepend(p);
    while (recent.size() > kMaxRecentFiles) recent.removeLast();
    settings.setValue(kRecentKey, recent);
}

void SorvelApplication::quit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void SorvelApplication::undo() {
    UndoHistory& h = delegate_->undoHistory();
    if (h.canUndo()) h.undo();
}

void SorvelApplication::redo() {
    UndoHistory& h = delegate_->undoHistory();
    if (h.canRedo()) h.redo();
}

void SorvelApplication::fillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList recent = QSettings().value(kRecentKey).toStringList();
    for (const QString& path : recent) {
        QAction* a = menu->addAction(QFileInfo(path).fileName());
        a->setToolTip(path);
        connect(a, &QAction::triggered, this,
                [this, path] { delegate_->openFile(path.toStdString()); });
    }
    if (recent.isEmpty()) menu->addAction(tr("No recent scores"))->setEnabled(false);
}

void SorvelApplication::installMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    auto add = [&](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot) {
        QAction* a = menu->addAction(text);
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu* file = bar->addMenu(tr("&File"));
    add(file, tr("&New"), QKeySequence::New, [this] { newScoreDocument(); });
    add(file, tr("&Open…"), QKeySequence::Open, [this] { delegate_->fileOpen(); });
    QMenu* recent = file->addMenu(tr("Open &Recent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    fillRecentMenu(recent);
    add(file, tr("&Save…"), QKeySequence::Save, [this] { delegate_->fileSave(); });
    add(file, tr("&Close"), QKeySequence::Close, [window] { window->close(); });
    file->addSeparator();
    // Not every platform names a preferences key; Ctrl+, is the usual one then.
    QKeySequence preferencesKeys(QKeySequence::Preferences);
    if (preferencesKeys.isEmpty()) preferencesKeys = QKeySequence(Qt::CTRL | Qt::Key_Comma);
    add(file, tr("&Preferences…"), preferencesKeys, [this] { delegate_->preferenceMenu(); });
    add(file, tr("Choose Set &Folder…"), QKeySequence(), [this] { delegate_->selectFol(); });
    file->addSeparator();
    QAction* quitAction = add(file, tr("&Quit"), QKeySequence::Quit, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    quitAction->setMenuRole(QAction::QuitRole);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    add(edit, tr("&Undo"), QKeySequence::Undo, [this] { undo(); });
    add(edit, tr("&Redo"), QKeySequence::Redo, [this] { redo(); });

    QMenu* score = bar->addMenu(tr("&Score"));
    add(score, tr("Page &Up"), QKeySequence(Qt::Key_PageUp), [this] { delegate_->menuPageUp(); });
    add(score, tr("Page &Down"), QKeySequence(Qt::Key_PageDown),
        [this] { delegate_->menuPageDown(); });
    score->addSeparator();
    auto* modes = new QActionGroup(window);
    QAction* song = add(score, tr("&Song"), QKeySequence(), [this] { delegate_->menuSong(); });
    QAction* exercise =
        add(score, tr("&Exercise"), QKeySequence(), [this] { delegate_->menuExer(); });
    for (QAction* a : {song, exercise}) {
        a->setCheckable(true);
        modes->addAction(a);
    }
    song->setObjectName(QStringLiteral("mnSong"));
    exercise->setObjectName(QStringLiteral("mnExercise"));
    song->setChecked(delegate_->mnSong.on);
    exercise->setChecked(delegate_->mnExercise.on);
    songActions_ << song;
    exerciseActions_ << exercise;

    QMenu* help = bar->addMenu(tr("&Help"));
    add(help, tr("&About Sorvel Score"), QKeySequence(), [this] {
        delegate_->menuAbout();
    })->setMenuRole(QAction::AboutRole);
}

}  // namespace sorvel::gui
