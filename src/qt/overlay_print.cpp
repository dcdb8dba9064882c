#include "qt/overlay_print.h"

#include "output/overlay_layout.h"
#include "qt/page_painter.h"
#include "qt/widget_design.h"

#include <QDialog>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

namespace dieprofile {

namespace {

const QString kNothingToPrint =
    QStringLiteral("There is no profile to print yet: press Calculate first.");

std::variant<OverlayPages, std::string> LayOut(const Form1Model& model,
                                               const OverlayOptions& options,
                                               const QString& designName, double widthMm,
                                               double heightMm) {
    const CalculatedDrawing& drawn = *model.LastCalculation;
    return LayOutOverlay(drawn.Frame, model.Scene, drawn.UnitDivisor, options,
                         designName.toStdString(), widthMm, heightMm);
}

// The paper a printer is set to, portrait.
PaperSize PrinterPaper(const QPrinter& printer) {
    const QSizeF size = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    return {std::min(size.width(), size.height()), std::max(size.width(), size.height())};
}

} // namespace

std::optional<QString> WriteOverlayPdf(const Form1Model& model, const OverlayOptions& options,
                                       const QString& designName, const QString& path, Paper paper,
                                       OverlayWritten* written) {
    if (!model.LastCalculation) {
        return kNothingToPrint;
    }
    const PaperSize size = PortraitSize(paper);
    auto laidOut = LayOut(model, options, designName, size.WidthMm, size.HeightMm);
    if (const std::string* problem = std::get_if<std::string>(&laidOut)) {
        // A layout that cannot be drawn is the user's message as it stands.
        return ToQString(*problem);
    }
    const OverlayPages& pages = std::get<OverlayPages>(laidOut);
    const auto cannotWrite = [&path](const QString& why) {
        return QStringLiteral("Cannot write \"%1\": %2").arg(path, why);
    };
    const auto pdf =
        PdfOfPages(OverlayPaper(pages),
                   {designName.isEmpty() ? QStringLiteral("Die profile overlay") : designName, {}});
    if (const QString* problem = std::get_if<QString>(&pdf)) {
        return cannotWrite(*problem);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return cannotWrite(file.errorString());
    }
    const QByteArray& bytes = std::get<QByteArray>(pdf);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        return cannotWrite(file.errorString());
    }
    if (written != nullptr) {
        *written = {pages.Pages.size(), pages.Warning};
    }
    return std::nullopt;
}

ChartPreview PreviewChart(const Form1Model& model, const OverlayOptions& options,
                          const QString& designName, PaperSize paper) {
    ChartPreview preview;
    if (!model.LastCalculation) {
        preview.Problem = kNothingToPrint.toStdString();
        return preview;
    }
    auto laidOut = LayOut(model, options, designName, paper.WidthMm, paper.HeightMm);
    if (const std::string* problem = std::get_if<std::string>(&laidOut)) {
        preview.Problem = *problem;
    } else {
        const OverlayPages& pages = std::get<OverlayPages>(laidOut);
        preview.Pages = pages.Pages.size();
        preview.Warning = pages.Warning;
    }
    return preview;
}

std::optional<QString> PrintAtScale(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (!model.LastCalculation) {
        return kNothingToPrint;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(designName.isEmpty() ? QStringLiteral("Die profile overlay") : designName);
    // The dialog counts the pages on the printer's present paper.
    const PaperSize paper = PrinterPaper(printer);
    ScaleDialog dialog(model.LastCalculation->UnitDivisor, parent,
                       [&](const OverlayOptions& options) {
                           return PreviewChart(model, options, designName, paper);
                       });
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    QPrintDialog printDialog(&printer, parent);
    if (printDialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // Laid out again on the paper chosen in the print dialog.
    const PaperSize chosen = PrinterPaper(printer);
    auto laidOut = LayOut(model, dialog.Options(), designName, chosen.WidthMm, chosen.HeightMm);
    if (const std::string* problem = std::get_if<std::string>(&laidOut)) {
        return QStringLiteral("Printing failed: %1").arg(ToQString(*problem));
    }
    if (std::optional<QString> problem =
            PrintPages(printer, OverlayPaper(std::get<OverlayPages>(laidOut)))) {
        return QStringLiteral("Printing failed: %1.").arg(*problem);
    }
    return std::nullopt;
}

} // namespace dieprofile
