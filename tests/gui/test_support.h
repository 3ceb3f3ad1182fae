#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "../core/app_test_ports.h"
#include "ports/settings.h"
#include "print_support.h"
#include "qt_clock.h"
#include "score_window.h"
#include "sorvel_application.h"
#include "staff_widget.h"

namespace sorvel::test {

using gui::ScoreLayout;
using gui::ScoreWindow;
using Cells = std::vector<ScoreCell>;

// The set folder the build generated (image sets and scale.csv).
inline std::string setFolder() {
    const char* env = std::getenv("SORVEL_TEST_SET");
    return env ? env : "set";
}

inline QString labelText(const QWidget& root, const char* name) {
    auto* label = root.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

// Clicks the named buttons in order; fails the test for a missing one.
inline void click(QWidget& root, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        auto* button = root.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
}

// Clicks the middle of a cell of a score staff (row 1..3, column 1..40), at any zoom.
inline void clickCell(ScoreWindow& w, int row, int column, bool shift = false) {
    gui::StaffWidget* staff = w.staffWidget(row);
    QTest::mouseClick(
        staff, Qt::LeftButton,
        shift ? Qt::KeyboardModifiers(Qt::ShiftModifier) : Qt::KeyboardModifiers(),
        QPoint(qRound(((column - 1) * ScoreLayout::kStaffWidth / 40 + 15) * staff->scale()),
               staff->height() / 2));
}

// Types text over the whole content of a field, which keeps the keyboard unless Return confirms.
inline void typeInto(QWidget& root, const char* field, const QString& text, bool confirm = false) {
    auto* f = root.findChild<QLineEdit*>(QString::fromLatin1(field));
    ASSERT_NE(f, nullptr) << field;
    f->setFocus();
    f->selectAll();
    QTest::keyClicks(f, text);
    if (confirm) QTest::keyClick(f, Qt::Key_Return);
}

// Chooses a combo box's item as a user does.
inline void choose(QWidget& root, const char* combo, int index) {
    auto* box = root.findChild<QComboBox*>(QString::fromLatin1(combo));
    ASSERT_TRUE(box && index >= 0 && index < box->count()) << combo << " " << index;
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A1 quarter, B1 half, then a quarter rest: three cells written through the buttons.
inline void writeThreeCells(QWidget& w) {
    click(w, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate", "pitchMtx_0", "pitchMtx_0", "pitchMtx_0",
              "onpMtx1_0_1", "btnADD", "onpMtx1_1_2", "btnADD"});
}

// A score window of its own, shown and active, recording the tones it plays.
struct WindowWithSound {
    std::unique_ptr<ScoreWindow> window;
    testing::CapturingAudioOutput* audio = nullptr;  // owned by the window
};
// The window's programs play by programClock, or in real time.
inline WindowWithSound makeWindow(const Clock* programClock = nullptr) {
    static gui::QtClock clock;
    auto audio = std::make_unique<testing::CapturingAudioOutput>(
        PcmFormat{}, programClock ? programClock : &clock);
    WindowWithSound out{nullptr, audio.get()};
    out.window =
        std::make_unique<ScoreWindow>(std::make_unique<Document>(), setFolder(), std::move(audio));
    out.window->show();
    out.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(out.window.get()));
    return out;
}

// Print dialogs that answer at once: Print prints to printTo (empty: cancelled), Page Setup
// chooses Letter unless refused, Export PDF answers answerPath (empty: cancelled).
class ScriptedPrintDialogs : public gui::PrintDialogs {
  public:
    bool print(QPrinter& printer, QWidget*, const std::function<void(QPrinter&)>& paint) override {
        ++calls;
        if (printTo.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        paint(printer);
        return true;
    }
    bool pageSetup(QPrinter& printer, QWidget*) override {
        ++calls;
        if (!acceptPageSetup) return false;
        printer.setPageSize(QPageSize(QPageSize::Letter));
        return true;
    }
    QString pdfPath(QWidget*, const QString& suggested) override {
        ++calls;
        suggestedSeen = suggested;
        return answerPath;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }

    QString printTo, answerPath, suggestedSeen;
    QStringList errors;
    bool acceptPageSetup = true;
    int calls = 0;
};

// The whole application with its real windows and menus; modals answer through fakes.
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        settings_.values[kFilePassKey] = setFolder();
        gui::PortOverrides ports;
        ports.alerts = &alerts_;
        ports.questions = &questions_;
        ports.dialogs = &dialogs_;
        ports.settings = &settings_;
        ports.printDialogs = printDialogs_;
        ports.silent = true;  // the file writer stays the real one
        ports.recoveryFolder = QString();
        app_ = std::make_unique<gui::SorvelApplication>(
            QFileInfo(QString::fromStdString(setFolder())).path(), ports);
    }
    void TearDown() override { app_.reset(); }

    ScoreWindow* newWindow() {
        Document* doc = app_->newScoreDocument();
        return doc ? app_->windowOf(*doc) : nullptr;
    }
    // A file in the test's own temporary folder.
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    static bool makeKey(QWidget* w) {
        w->activateWindow();
        return QTest::qWaitForWindowActive(w);
    }
    // Triggers the action of the window's menu bar whose text, without "&" and "…", is text.
    static void trigger(QMainWindow* w, const char* text) {
        for (QMenu* menu : w->menuBar()->findChildren<QMenu*>()) {
            for (QAction* action : menu->actions()) {
                QString plain = action->text();
                plain.remove(QLatin1Char('&')).remove(QChar(0x2026));
                if (plain == QString::fromUtf8(text)) return action->trigger();
            }
        }
        ADD_FAILURE() << "no menu item " << text;
    }
    static QAction* action(QWidget* w, const char* name) {
        auto* a = w->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }

    testing::DiagCapture quiet_;
    QTemporaryDir dir_;
    testing::FakeAlerts alerts_;
    testing::FakeQuestions questions_;
    testing::FakeDialogs dialogs_;
    testing::FakeSettings settings_;
    gui::PrintDialogs* printDialogs_ = nullptr;  // set before SetUp to answer printing
    std::unique_ptr<gui::SorvelApplication> app_;
};

// The application started as from the desktop: one untitled score window in front.
class AppWithWindow : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(app_->start({}));
        ASSERT_EQ(app_->scoreWindows().size(), 1);
        window_ = app_->scoreWindows().value(0);
        ASSERT_TRUE(window_ && makeKey(window_));
    }
    ScoreWindow* window_ = nullptr;
};

// A file's bytes (empty when unreadable), and a file written with bytes.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
        << path.toStdString();
}

// Output of a command-line tool (poppler's pdfinfo, pdftotext); fails the test when it fails.
inline QString runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed on " << args.join(' ').toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A field of pdfinfo's report ("Pages", "Title", "Page size"), empty when missing.
inline QString pdfInfo(const QString& pdf, const char* field) {
    const QRegularExpression re(QStringLiteral("%1:\\s+([^\\n]+)").arg(QLatin1String(field)));
    const auto m = re.match(runTool(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

}  // namespace sorvel::test
