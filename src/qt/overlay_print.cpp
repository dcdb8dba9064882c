#include "qt/overlay_print.h"

#include "output/overlay_layout.h"
#include "qt/overlay_painter.h"
#include "qt/scale_dialog.h"
#include "qt/widget_design.h"

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

namespace dieprofile {

namespace {

// Fine enough that rounding a line's end to the device grid costs far less than 0.1 mm.
constexpr int kPdfResolution = 1200;

const QString kNothingToPrint =
    QStringLiteral("There is no profile to print yet: press Calculate first.");

} // namespace

std::optional<QString> PaintOverlay(QPagedPaintDevice& device, int resolution,
                                    const Form1Model& model, const OverlayOptions& options,
                                    const QString& designName) {
    if (!model.LastCalculation) {
        return kNothingToPrint;
    }
    const PrintableArea area = PrintableAreaOf(device, resolution);
    auto laidOut =
        LayOutOverlay(model.LastCalculation->Frame, model.Scene, model.LastCalculation->UnitDivisor,
                      options, designName.toStdString(), area.WidthMm, area.HeightMm);
    if (const std::string* problem = std::get_if<std::string>(&laidOut)) {
        return ToQString(*problem);
    }
    return PaintOverlayPages(device, resolution, std::get<OverlayPages>(laidOut));
}

std::optional<QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                       const QString& designName, const QString& path) {
    if (!model.LastCalculation) {
        return kNothingToPrint;
    }
    const auto cannotWrite = [&path](const QString& why) {
        return QStringLiteral("Cannot write \"%1\": %2").arg(path, why);
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return cannotWrite(file.errorString());
    }
    std::optional<QString> problem;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        writer.setTitle(designName.isEmpty() ? QStringLiteral("Die profile overlay") : designName);
        writer.setCreator(QStringLiteral("Die Profile"));
        problem = PaintOverlay(writer, kPdfResolution, model, options, designName);
    }
    if (problem) {
        file.cancelWriting();
        // A layout that cannot be drawn is the user's message as it stands; a failing disk is
        // named with the file.
        return problem;
    }
    if (!file.commit()) {
        return cannotWrite(file.errorString());
    }
    return std::nullopt;
}

std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (!model.LastCalculation) {
        return kNothingToPrint;
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
    if (std::optional<QString> problem =
            PaintOverlay(printer, printer.resolution(), model, dialog.Options(), designName)) {
        return QStringLiteral("Printing failed: %1").arg(*problem);
    }
    if (printer.printerState() == QPrinter::Error) {
        return QStringLiteral("Printing failed: the job could not be sent to %1.")
            .arg(printer.printerName());
    }
    return std::nullopt;
}

} // namespace dieprofile
