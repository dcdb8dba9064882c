#include "qt/overlay_print.h"

#include "output/overlay_layout.h"
#include "qt/export_painters.h"
#include "qt/printing.h"
#include "qt/widget_design.h"

#include <QDialog>
#include <QPageLayout>

namespace dieprofile {

namespace {

Expected<OverlayPages> LayOut(const Form1Model& model, const OverlayOptions& options,
                              const QString& designName, PaperSize paper) {
    const CalculatedDrawing& drawn = *model.LastCalculation();
    return LayOutOverlay(drawn.Frame, model.Scene(), drawn.UnitDivisor, options,
                         DesignLine(designName.toStdString(), model.Identity()), paper.WidthMm,
                         paper.HeightMm);
}

// The paper a printer is set to, portrait.
PaperSize PrinterPaper(const PaperPrinter& printer) {
    const QSizeF size = printer.PageLayout().fullRect(QPageLayout::Millimeter).size();
    return {std::min(size.width(), size.height()), std::max(size.width(), size.height())};
}

} // namespace

Expected<void, QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                        const QString& designName, const QString& path, Paper paper,
                                        ExportNotes* notes) {
    if (const Expected<void, ExportRefusal> exported =
            ExportDrawingFile(model, designName, path, options, {}, paper, notes);
        !exported) {
        return ToQString(exported.Error().Message);
    }
    return Done{};
}

ChartPreview PreviewChart(const Form1Model& model, const OverlayOptions& options,
                          const QString& designName, PaperSize paper) {
    ChartPreview preview;
    if (const Expected<void, ExportRefusal> chart = CheckChart(model, options); !chart) {
        preview.Problem = chart.Error().Message;
        return preview;
    }
    const Expected<OverlayPages> laidOut = LayOut(model, options, designName, paper);
    if (!laidOut) {
        preview.Problem = laidOut.Error().Message;
    } else {
        preview.Pages = laidOut->Pages.size();
        preview.Warning = laidOut->Warning;
    }
    return preview;
}

std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (const Expected<void> drawing = CheckDrawing(model); !drawing) {
        return QStringLiteral("Cannot print at scale: %1.").arg(ToQString(drawing.Error().Message));
    }
    const Expected<Printing*, QString> printing = LoadedPrinting();
    if (!printing) {
        return QStringLiteral("Cannot print at scale: %1.").arg(printing.Error());
    }
    const std::unique_ptr<PaperPrinter> printer = (*printing)->NewPrinter(
        designName.isEmpty() ? QStringLiteral("Die profile overlay") : designName);
    // The dialog counts the pages on the printer's present paper.
    const PaperSize paper = PrinterPaper(*printer);
    ScaleDialog dialog(model.LastCalculation()->UnitDivisor, parent,
                       [&](const OverlayOptions& options) {
                           return PreviewChart(model, options, designName, paper);
                       });
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // The print dialog offers a file of the chart's own, apart from the drawing sheet's.
    printer->SetDocumentName(
        ToQString(ChartPdfName(designName.toStdString(), dialog.Options().Magnification)));
    if (!printer->Choose(parent, true)) {
        return std::nullopt;
    }
    if (const Expected<void, ExportRefusal> chart = CheckChart(model, dialog.Options()); !chart) {
        return QStringLiteral("Cannot print at scale: %1.").arg(ToQString(chart.Error().Message));
    }
    // Laid out again on the paper chosen in the print dialog.
    const Expected<OverlayPages> laidOut =
        LayOut(model, dialog.Options(), designName, PrinterPaper(*printer));
    if (!laidOut) {
        return QStringLiteral("Printing failed: %1").arg(ToQString(laidOut.Error().Message));
    }
    if (const Expected<void, QString> printed = printer->Print(OverlayPaper(*laidOut)); !printed) {
        return QStringLiteral("Printing failed: %1.").arg(printed.Error());
    }
    return std::nullopt;
}

} // namespace dieprofile
