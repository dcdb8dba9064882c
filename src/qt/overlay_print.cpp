#include "qt/overlay_print.h"

#include "app/export.h"
#include "output/overlay_layout.h"
#include "qt/drawing_export.h"
#include "qt/overlay_painter.h"
#include "qt/scale_dialog.h"
#include "qt/widget_design.h"

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

namespace dieprofile {

namespace {

// Fine enough that rounding a line's end to the device grid costs far less than 0.1 mm.
constexpr int kPdfResolution = 1200;

} // namespace

std::optional<QString> PaintOverlay(QPagedPaintDevice& device, int resolution,
                                    const CalculatedDrawing& drawn, const DrawingScene& scene,
                                    const OverlayOptions& options, const QString& designName) {
    const PrintableArea area = PrintableAreaOf(device, resolution);
    auto laidOut = LayOutOverlay(drawn.Frame, scene, drawn.UnitDivisor, options,
                                 designName.toStdString(), area.WidthMm, area.HeightMm);
    if (const std::string* problem = std::get_if<std::string>(&laidOut)) {
        return ToQString(*problem);
    }
    return PaintOverlayPages(device, resolution, std::get<OverlayPages>(laidOut));
}

std::optional<QString> WriteOverlayPdf(QIODevice& device, const CalculatedDrawing& drawn,
                                       const DrawingScene& scene, const OverlayOptions& options,
                                       const QString& designName) {
    QPdfWriter writer(&device);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setTitle(designName.isEmpty() ? QStringLiteral("Die profile overlay") : designName);
    writer.setCreator(QStringLiteral("Die Profile"));
    return PaintOverlay(writer, kPdfResolution, drawn, scene, options, designName);
}

std::optional<QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                       const QString& designName, const QString& path) {
    if (const auto refusal = ExportDrawingFile(model, designName, path, options)) {
        return ToQString(refusal->Message);
    }
    return std::nullopt;
}

std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (const std::optional<std::string> reason = DrawingRefusal(model)) {
        return QStringLiteral("Cannot print at scale: %1.").arg(ToQString(*reason));
    }
    ScaleDialog dialog(model.LastCalculation->UnitDivisor, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(designName.isEmpty() ? QStringLiteral("Die profile overlay") : designName);
    QPrintDialog printDialog(&printer, parent);
    if (printDialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    if (const auto refusal = ChartRefusal(model, dialog.Options())) {
        return QStringLiteral("Cannot print at scale: %1.").arg(ToQString(refusal->Message));
    }
    if (std::optional<QString> problem =
            PaintOverlay(printer, printer.resolution(), *model.LastCalculation, model.Scene,
                         dialog.Options(), designName)) {
        return QStringLiteral("Printing failed: %1").arg(*problem);
    }
    if (printer.printerState() == QPrinter::Error) {
        return QStringLiteral("Printing failed: the job could not be sent to %1.")
            .arg(printer.printerName());
    }
    return std::nullopt;
}

} // namespace dieprofile
