#include "qt/drawing_export.h"

#include "qt/drawing_sheet.h"
#include "qt/overlay_print.h"
#include "qt/page_painter.h"
#include "qt/widget_design.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>

namespace dieprofile {

namespace {

QPageLayout SheetLayout() {
    return QPageLayout(SheetPageSize(), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0));
}

QString DocumentTitle(const QString& designName) {
    return QStringLiteral("Die Profile: %1").arg(designName);
}

Rendering Made(const std::variant<QByteArray, QString>& made) {
    if (const auto* bytes = std::get_if<QByteArray>(&made)) {
        return {bytes->toStdString(), std::nullopt};
    }
    return {{}, std::get<QString>(made).toStdString()};
}

// Paints on a device that writes into memory; the bytes, or why there are none.
template <typename Paint> Rendering InMemory(Paint paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!paint(buffer)) {
        return {{}, std::string("the drawing could not be painted")};
    }
    return {bytes.toStdString(), std::nullopt};
}

} // namespace

Rendering QtExportPainters::Pdf(const std::vector<Page>& pages, const std::string& title) {
    return Made(PdfOfPages(pages, {ToQString(title), {}}));
}

Rendering QtExportPainters::Svg(const Page& page, const std::string& title,
                                const std::string& description) {
    return Made(SvgOfPage(page, {ToQString(title), ToQString(description)}));
}

Rendering QtExportPainters::Sheet(ExportFormat format, const CalculatedDrawing& drawn,
                                  const DrawingScene& scene, const std::string& designName) {
    const QString name = ToQString(designName);
    const QDate today = QDate::currentDate();
    const QPageLayout layout = SheetLayout();
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    if (format == ExportFormat::Pdf) {
        return InMemory([&](QIODevice& device) {
            QPdfWriter writer(&device);
            writer.setPageLayout(layout);
            writer.setResolution(1200);
            writer.setTitle(DocumentTitle(name));
            writer.setCreator(QStringLiteral("Die Profile"));
            QPainter painter;
            if (!painter.begin(&writer)) {
                return false;
            }
            PaintDrawingSheet(painter, paper, drawn, scene, name, today);
            return painter.end();
        });
    }
    return InMemory([&](QIODevice& device) {
        QSvgGenerator generator;
        generator.setOutputDevice(&device);
        // Tenths of a millimetre as the SVG's user unit.
        generator.setResolution(254);
        const QSize size(qRound(paper.width() * 10), qRound(paper.height() * 10));
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        // The generator writes these as they are, inside XML elements.
        generator.setTitle(XmlSafe(DocumentTitle(name)));
        generator.setDescription(QStringLiteral("Drawing sheet of a wire-drawing die"));
        QPainter painter;
        if (!painter.begin(&generator)) {
            return false;
        }
        PaintDrawingSheet(painter, paper, drawn, scene, name, today);
        return painter.end();
    });
}

Rendering QtExportPainters::Chart(const CalculatedDrawing& drawn, const DrawingScene& scene,
                                  const OverlayOptions& options, const std::string& designName) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const std::optional<QString> problem =
            WriteOverlayPdf(buffer, drawn, scene, options, ToQString(designName))) {
        return {{}, problem->toStdString()};
    }
    return {bytes.toStdString(), std::nullopt};
}

std::optional<ExportRefusal> ExportDrawingFile(const Form1Model& model, const QString& designName,
                                               const QString& path,
                                               const std::optional<OverlayOptions>& chart) {
    QtExportPainters painters;
    // Paths in the local file-name encoding, as the system names files.
    return ExportDrawing(
        model, {QFile::encodeName(path).toStdString(), designName.toStdString(), chart}, &painters);
}

std::optional<QString> ExportDrawing(const Form1Model& model, const QString& designName,
                                     const QString& path) {
    if (const std::optional<ExportRefusal> refusal = ExportDrawingFile(model, designName, path)) {
        return ToQString(refusal->Message);
    }
    return std::nullopt;
}

std::optional<QString> PrintDrawing(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (const std::optional<std::string> reason = DrawingRefusal(model)) {
        return QStringLiteral("Cannot print the drawing: %1.").arg(ToQString(*reason));
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(SheetLayout());
    printer.setFullPage(true);
    printer.setDocName(DocumentTitle(designName));
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // The user may have chosen other paper or turned it: the sheet is laid out on what is chosen.
    printer.setPageOrientation(QPageLayout::Landscape);
    const QSizeF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    QPainter painter;
    if (!painter.begin(&printer)) {
        return QStringLiteral("Cannot print the drawing on \"%1\".").arg(printer.printerName());
    }
    PaintDrawingSheet(painter, paper, *model.LastCalculation, model.Scene, designName,
                      QDate::currentDate());
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return QStringLiteral("Cannot print the drawing on \"%1\".").arg(printer.printerName());
    }
    return std::nullopt;
}

} // namespace dieprofile
