#include "qt/export_painters.h"

#include "qt/local_path.h"
#include "qt/page_painter.h"
#include "qt/printing.h"
#include "qt/sheet_details.h"
#include "qt/widget_design.h"

#include <QLocale>
#include <QPageLayout>

namespace dieprofile {

namespace {

Rendering Made(const Expected<QByteArray, QString>& made) {
    if (!made) {
        return Refusal{made.Error().toStdString()};
    }
    return made->toStdString();
}

} // namespace

Paper DefaultSheetPaper() {
    std::optional<Paper> printerPaper;
    // Without the printing module no printer can be asked, and the locale decides as it does when
    // there is no printer; printing and SVG then say what is missing.
    if (const Expected<Printing*, QString> printing = LoadedPrinting()) {
        if (const std::optional<QSizeF> size = (*printing)->DefaultPrinterPaper()) {
            printerPaper = PaperOfSize(size->width(), size->height());
        }
    }
    return DefaultPaper(printerPaper,
                        QLocale::system().measurementSystem() == QLocale::ImperialUSSystem);
}

Rendering QtExportPainters::Pdf(const std::vector<Page>& pages, const std::string& title) {
    return Made(PdfOfPages(pages, {ToQString(title), {}}));
}

Rendering QtExportPainters::Svg(const Page& page, const std::string& title,
                                const std::string& description) {
    return Made(SvgOfPage(page, {ToQString(title), ToQString(description)}));
}

Expected<void, ExportRefusal> ExportDrawingFile(const Form1Model& model, const QString& designName,
                                                const QString& path,
                                                const std::optional<OverlayOptions>& chart,
                                                const DxfExportOptions& dxf,
                                                std::optional<Paper> paper, ExportNotes* notes) {
    QtExportPainters painters;
    ExportRequest request = DrawingRequest(path, designName, dxf, paper);
    request.Chart = chart;
    return ExportDrawing(model, request, &painters, notes);
}

ExportRequest DrawingRequest(const QString& path, const QString& designName,
                             const DxfExportOptions& dxf, std::optional<Paper> paper) {
    ExportRequest request;
    // Paths in the local file-name encoding, as the system names files.
    request.Path = PathBytes(path);
    request.DesignName = designName.toStdString();
    request.SheetPaper = paper.value_or(DefaultSheetPaper());
    request.Details = LoadSheetDetails();
    request.Dxf = dxf;
    return request;
}

std::optional<QString> PrintDrawing(QWidget* parent, const Form1Model& model,
                                    const QString& designName) {
    if (const Expected<void> drawing = CheckDrawing(model); !drawing) {
        return QStringLiteral("Cannot print the drawing: %1.")
            .arg(ToQString(drawing.Error().Message));
    }
    const Expected<Printing*, QString> printing = LoadedPrinting();
    if (!printing) {
        return QStringLiteral("Cannot print the drawing: %1.").arg(printing.Error());
    }
    const Paper preferred = DefaultSheetPaper();
    const PaperSize landscape = LandscapeSize(preferred);
    const std::unique_ptr<PaperPrinter> printer =
        (*printing)->NewPrinter(ToQString(SheetTitle(designName.toStdString())));
    printer->SetFullPageLayout(
        QPageLayout(QPageSize(QSizeF(landscape.HeightMm, landscape.WidthMm), QPageSize::Millimeter),
                    QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    if (!printer->Choose(parent, false)) {
        return std::nullopt;
    }
    // The user may have chosen other paper: the sheet is laid out on what is chosen, where it is
    // one of the drawing office's sizes.
    const QSizeF chosen = printer->PageLayout().pageSize().size(QPageSize::Millimeter);
    const Paper paper = PaperOfSize(chosen.width(), chosen.height()).value_or(preferred);
    const Expected<Page> sheet =
        DrawingSheetOf(*model.LastCalculation(), model.Scene(), designName.toStdString(), paper,
                       model.SheetIdentity(), LoadSheetDetails());
    if (!sheet) {
        return QStringLiteral("Cannot print the drawing: %1.")
            .arg(ToQString(sheet.Error().Message));
    }
    if (const Expected<void, QString> printed = printer->Print({*sheet}); !printed) {
        return QStringLiteral("Cannot print the drawing on \"%1\": %2.")
            .arg(printer->Name(), printed.Error());
    }
    return std::nullopt;
}

} // namespace dieprofile
