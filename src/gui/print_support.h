#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "view/print_view.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace sorvel::gui {

// The paper sizes offered by name (the page setup dialog offers every size the system has).
enum class Paper { A4, Letter };
std::optional<Paper> paperFromName(const QString& name);  // "a4", "letter", any case

// A portrait page of the paper with the margins of the imageable area.
QPageLayout defaultPageLayout(Paper paper = Paper::A4);

// The layout's paper and imageable area in points, y growing upward from the paper's bottom.
Size paperSizePoints(const QPageLayout& layout);
Rect imageableBounds(const QPageLayout& layout);

// Paints every page of the view onto a device whose painter starts at the paper's top-left
// corner, `unitsPerPoint` device units to a point; returns the number of pages painted.
std::int64_t renderPages(PrintView& view, QPagedPaintDevice& device, const QPageLayout& layout,
                         double unitsPerPoint);

struct ExportResult {
    bool ok = false;
    std::int64_t pages = 0;
    QString error;  // why nothing was written, for a message
};

// Writes the view's pages to a PDF file, replacing it only when the whole file was written.
ExportResult exportPdf(PrintView view, const QString& path,
                       const QPageLayout& layout = defaultPageLayout());

// The modal dialogs of printing, replaceable so that tests never block.
class PrintDialogs {
  public:
    virtual ~PrintDialogs() = default;
    // The print dialog with a preview of the pages `paint` draws onto the printer; true when
    // the user printed.
    virtual bool print(QPrinter& printer, QWidget* parent,
                       const std::function<void(QPrinter&)>& paint) = 0;
    // The page setup dialog on the printer's settings; true when the user accepted.
    virtual bool pageSetup(QPrinter& printer, QWidget* parent) = 0;
    // The path to export a PDF to, or an empty string when the user cancelled.
    virtual QString pdfPath(QWidget* parent, const QString& suggestedPath) = 0;
    // A message that the export failed.
    virtual void showError(QWidget* parent, const QString& text) = 0;
};

// QPrintPreviewDialog (its print button opens the system print dialog), QPageSetupDialog,
// QFileDialog and QMessageBox.
class QtPrintDialogs : public PrintDialogs {
  public:
    bool print(QPrinter& printer, QWidget* parent,
               const std::function<void(QPrinter&)>& paint) override;
    bool pageSetup(QPrinter& printer, QWidget* parent) override;
    QString pdfPath(QWidget* parent, const QString& suggestedPath) override;
    void showError(QWidget* parent, const QString& text) override;
};

// The application's printing: one printer set-up shared by File > Print, File > Page Setup
// and File > Export PDF of every score window.
class PrintSupport {
  public:
    // dialogs: nullptr uses QtPrintDialogs.
    explicit PrintSupport(PrintDialogs* dialogs = nullptr);
    ~PrintSupport();
    PrintSupport(const PrintSupport&) = delete;
    PrintSupport& operator=(const PrintSupport&) = delete;

    // File > Print: preview and print dialog; true when pages went to the printer.
    bool print(PrintView view, QWidget* parent);
    // File > Page Setup.
    bool pageSetup(QWidget* parent);
    // File > Export PDF: asks for the path, writes the file, shows a message on failure.
    ExportResult exportPdfWithDialog(PrintView view, QWidget* parent,
                                     const QString& suggestedPath = {});

    QPageLayout pageLayout() const;
    void setPageLayout(const QPageLayout& layout);

  private:
    QPrinter& printer();

    std::unique_ptr<PrintDialogs> ownDialogs_;
    PrintDialogs* dialogs_;
    std::unique_ptr<QPrinter> printer_;
    QPageLayout layout_;
};

}  // namespace sorvel::gui
