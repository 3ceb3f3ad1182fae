#include "print_support.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "atomic_file.h"
#include "qt_canvas.h"

namespace sorvel::gui {

namespace {
// The margins around the imageable area; the title and the footer line sit at its edges.
constexpr double kMarginPoints = 18.0;
// PDF resolution: fine enough for the pictures, which are decoded at the size they land on.
constexpr int kPdfResolution = 600;

QPageLayout withoutMargins(const QPageLayout& layout) {
    return QPageLayout(layout.pageSize(), layout.orientation(), QMarginsF(0, 0, 0, 0),
                       QPageLayout::Point);
}
}  // namespace

std::optional<Paper> paperFromName(const QString& name) {
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("a4")) return Paper::A4;
    if (n == QLatin1String("letter")) return Paper::Letter;
    return std::nullopt;
}

QPageLayout defaultPageLayout(Paper paper) {
    const QPageSize size(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Portrait,
                       QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                       QPageLayout::Point);
}

Size paperSizePoints(const QPageLayout& layout) {
    const QRectF full = layout.fullRect(QPageLayout::Point);
    return {full.width(), full.height()};
}

Rect imageableBounds(const QPageLayout& layout) {
    const QRectF full = layout.fullRect(QPageLayout::Point);
    const QMarginsF m = layout.margins(QPageLayout::Point);
    // y grows upward: the imageable area starts the bottom margin above the paper's foot.
    return {m.left(), m.bottom(), full.width() - m.left() - m.right(),
            full.height() - m.top() - m.bottom()};
}

std::int64_t renderPages(PrintView& view, QPagedPaintDevice& device, const QPageLayout& layout,
                         double unitsPerPoint) {
    const std::int64_t pages =
        view.knowsPageRange(imageableBounds(layout), paperSizePoints(layout));
    if (pages <= 0) return 0;
    QPainter painter;
    if (!painter.begin(&device)) return -1;
    const double paperHeight = paperSizePoints(layout).height;
    for (std::int64_t page = 1; page <= pages; ++page) {
        if (page > 1 && !device.newPage()) {
            painter.end();
            return -1;
        }
        painter.resetTransform();
        painter.scale(unitsPerPoint, unitsPerPoint);
        painter.setRenderHint(QPainter::Antialiasing);
        QtCanvas canvas(painter, paperHeight);
        canvas.setPlaceCharactersOneByOne(true);
        view.drawPage(canvas, page);
    }
    painter.end();
    return pages;
}

ExportResult exportPdf(PrintView view, const QString& path, const QPageLayout& layout) {
    ExportResult result;
    if (view.knowsPageRange(imageableBounds(layout), paperSizePoints(layout)) == 0) {
        result.error =
            QCoreApplication::translate("PrintSupport", "The score has no cells to print.");
        return result;
    }
    bool drawn = true;
    const auto why = writeFileAtomically(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setTitle(QString::fromStdString(view.title));
        writer.setCreator(QString::fromStdString(printFooterLine()));
        writer.setPageLayout(withoutMargins(layout));
        result.pages = renderPages(view, writer, layout, kPdfResolution / 72.0);
        drawn = result.pages > 0;
        return drawn;
    });
    if (why) {
        result.error = !drawn ? QCoreApplication::translate(
                                    "PrintSupport", "Cannot write %1: the pages could not be drawn")
                                    .arg(path)
                              : QCoreApplication::translate("PrintSupport", "Cannot write %1: %2")
                                    .arg(path, *why);
        result.pages = 0;
        return result;
    }
    result.ok = true;
    return result;
}

bool QtPrintDialogs::print(QPrinter& printer, QWidget* parent,
                           const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* p) { paint(*p); });
    return preview.exec() == QDialog::Accepted;
}

bool QtPrintDialogs::pageSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString QtPrintDialogs::pdfPath(QWidget* parent, const QString& suggestedPath) {
    return QFileDialog::getSaveFileName(parent, QObject::tr("Export PDF"), suggestedPath,
                                        QObject::tr("PDF files (*.pdf)"));
}

void QtPrintDialogs::showError(QWidget* parent, const QString& text) {
    // The text holds a path: shown as it is, never as markup.
    QMessageBox box(QMessageBox::Warning, QObject::tr("Export PDF"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

PrintSupport::PrintSupport(PrintDialogs* dialogs)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<QtPrintDialogs>()),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      layout_(defaultPageLayout()) {}

PrintSupport::~PrintSupport() = default;

QPrinter& PrintSupport::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageLayout(layout_);
    }
    return *printer_;
}

QPageLayout PrintSupport::pageLayout() const {
    return layout_;
}

void PrintSupport::setPageLayout(const QPageLayout& layout) {
    layout_ = layout;
    if (printer_) printer_->setPageLayout(layout_);
}

bool PrintSupport::print(PrintView view, QWidget* parent) {
    QPrinter& p = printer();
    p.setFullPage(false);
    p.setPageLayout(layout_);
    // The painter starts at the paper's corner; the layout's margins become the imageable area.
    p.setFullPage(true);
    p.setDocName(QString::fromStdString(view.title));
    const bool printed = dialogs_->print(p, parent, [this, &view](QPrinter& target) {
        // The paper the print dialog chose, with the margins of the page setup.
        const QPageLayout chosen = target.pageLayout();
        const QPageLayout layout(chosen.pageSize(), chosen.orientation(),
                                 layout_.margins(QPageLayout::Point), QPageLayout::Point);
        renderPages(view, target, layout, target.resolution() / 72.0);
    });
    return printed;
}

bool PrintSupport::pageSetup(QWidget* parent) {
    QPrinter& p = printer();
    p.setFullPage(false);
    p.setPageLayout(layout_);
    if (!dialogs_->pageSetup(p, parent)) return false;
    QPageLayout chosen = p.pageLayout();
    chosen.setUnits(QPageLayout::Point);
    layout_ = chosen;
    return true;
}

ExportResult PrintSupport::exportPdfWithDialog(PrintView view, QWidget* parent,
                                               const QString& suggestedPath) {
    const QString path = dialogs_->pdfPath(parent, suggestedPath);
    if (path.isEmpty()) return {};
    ExportResult result = exportPdf(std::move(view), path, layout_);
    if (!result.ok) dialogs_->showError(parent, result.error);
    return result;
}

}  // namespace sorvel::gui
