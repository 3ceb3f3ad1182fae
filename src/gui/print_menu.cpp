// File > Page Setup, Print and Export PDF: the key score window's score on the shared printer
// set-up of the application.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>

#include "print_support.h"
#include "score_window.h"
#include "sorvel_application.h"

namespace sorvel::gui {

PrintView SorvelApplication::printView(Document& doc) {
    const ScoreSnapshot snapshot = doc.snapshot();
    return PrintView(snapshot.score, windowTitle(doc), delegate_->documentSetFolder(),
                     snapshot.imageSet);
}

void SorvelApplication::installPrintMenu(QMenu* file, QMainWindow*) {
    if (!printSupport_) printSupport_ = std::make_shared<PrintSupport>(printDialogs_);
    auto add = [&](const QString& text, const QKeySequence& keys, const char* name,
                   std::function<void(Document&, QWidget*)> op) {
        QAction* a = file->addAction(text);
        a->setShortcut(keys);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, op] {
            delegate_->withScoreWindow([this, &op](Document& doc) { op(doc, windowOf(doc)); });
        });
    };
    file->addSeparator();
    add(tr("Page Set&up…"), QKeySequence(), "pageSetupAction",
        [this](Document&, QWidget* parent) { printSupport_->pageSetup(parent); });
    add(tr("Pr&int…"), QKeySequence::Print, "printAction",
        [this](Document& doc, QWidget* parent) { printSupport_->print(printView(doc), parent); });
    add(tr("&Export PDF…"), QKeySequence(), "exportPdfAction",
        [this](Document& doc, QWidget* parent) {
            // Suggest the score's name with .pdf, beside the user's home folder.
            QString name = QFileInfo(QString::fromStdString(windowTitle(doc))).completeBaseName();
            if (name.isEmpty()) name = tr("Untitled");
            printSupport_->exportPdfWithDialog(
                printView(doc), parent, QDir::home().filePath(name + QStringLiteral(".pdf")));
        });
    file->addSeparator();
}

}  // namespace sorvel::gui
