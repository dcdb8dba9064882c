#include "qt/drawing_export.h"

#include "app/drawing_export.h"
#include "qt/drawing_sheet.h"
#include "qt/widget_design.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace dieprofile {

namespace {

QString CannotExport(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot export \"%1\": %2.").arg(path, reason);
}

QPageLayout SheetLayout() {
    return QPageLayout(SheetPageSize(), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0));
}

// Paints the sheet on a file's device and commits the file; nothing is left behind on failure.
template <typename Paint> std::optional<QString> WriteSheet(const QString& path, Paint paint) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return CannotExport(path, file.errorString());
    }
    if (!paint(file)) {
        file.cancelWriting();
        return CannotExport(path, QStringLiteral("the drawing could not be written"));
    }
    if (!file.commit()) {
        return CannotExport(path, file.errorString());
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> ExportDrawing(const Form1Model& model, const QString& designName,
                                     const QString& path, const DxfExportOptions& dxf) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"pdf" && suffix != u"svg" && suffix != u"dxf") {
        return CannotExport(path, QStringLiteral("the file name must end in .pdf, .svg or .dxf"));
    }
    if (!model.LastCalculation) {
        return ToQString(NothingToExportMessage(path.toStdString()));
    }
    const CalculatedDrawing& drawn = *model.LastCalculation;
    if (suffix == u"dxf") {
        // Qt names files in UTF-8 on every Unix, so the bytes are the same file.
        if (const auto failure =
                ExportDxfFile(model, designName.toStdString(), path.toStdString(), dxf)) {
            return ToQString(*failure);
        }
        return std::nullopt;
    }
    const QDate today = QDate::currentDate();
    const QPageLayout layout = SheetLayout();
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    if (suffix == u"pdf") {
        return WriteSheet(path, [&](QIODevice& device) {
            QPdfWriter writer(&device);
            writer.setPageLayout(layout);
            writer.setResolution(1200);
            writer.setTitle(QStringLiteral("Die Profile: %1").arg(designName));
            writer.setCreator(QStringLiteral("Die Profile"));
            QPainter painter;
            if (!painter.begin(&writer)) {
                return false;
            }
            PaintDrawingSheet(painter, paper, drawn, model.Scene, designName, today);
            return painter.end();
        });
    }
    return WriteSheet(path, [&](QIODevice& device) {
        QSvgGenerator generator;
        generator.setOutputDevice(&device);
        // Tenths of a millimetre as the SVG's user unit.
        generator.setResolution(254);
        const QSize size(qRound(paper.width() * 10), qRound(paper.height() * 10));
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QStringLiteral("Die Profile: %1").arg(designName));
        generator.setDescription(QStringLiteral("Drawing sheet of a wire-drawing die"));
        QPainter painter;
        if (!painter.begin(&generator)) {
            return false;
        }
        PaintDrawingSheet(painter, paper, drawn, model.Scene, designName, today);
        return painter.end();
    });
}

std::optional<QString> PrintDrawing(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (!model.LastCalculation) {
        return QStringLiteral("Cannot print the drawing: there is no drawing yet. Press Calculate "
                              "first.");
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(SheetLayout());
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Die Profile: %1").arg(designName));
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
