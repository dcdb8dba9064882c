// The printing module (printing.h): the SVG writer and the platform's printers and print dialog,
// built apart from the program and loaded by it the first time it needs them.
#include "qt/printing.h"

#include "core/units.h"
#include "qt/window_printer.h"

#include <QBuffer>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>

#include <cstring>

namespace dieprofile {

namespace {

// The SVG's user unit: a tenth of a millimetre.
constexpr double kSvgUnitsPerMm = 10;

Expected<QByteArray, QString> SvgOf(const Page& page, const PageDocumentInfo& info) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(qRound(kSvgUnitsPerMm * kMillimetresPerInch));
        const QSize size(qRound(page.WidthMm * kSvgUnitsPerMm),
                         qRound(page.HeightMm * kSvgUnitsPerMm));
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        // The generator writes these as they are, inside XML elements.
        generator.setTitle(XmlSafe(info.Title));
        generator.setDescription(XmlSafe(info.Description));
        QPainter painter;
        if (!painter.begin(&generator)) {
            return QStringLiteral("the SVG could not be started");
        }
        PaintPage(painter, page, kSvgUnitsPerMm);
        if (!painter.end()) {
            return QStringLiteral("the SVG could not be finished");
        }
    }
    return bytes;
}

class QtPaperPrinter : public PaperPrinter {
public:
    explicit QtPaperPrinter(const QString& documentName) { printer_.setDocName(documentName); }

    QString Name() const override { return printer_.printerName(); }

    QPageLayout PageLayout() const override { return printer_.pageLayout(); }

    void SetDocumentName(const QString& name) override { printer_.setDocName(name); }

    void SetFullPageLayout(const QPageLayout& layout) override {
        printer_.setPageLayout(layout);
        printer_.setFullPage(true);
    }

    bool Choose(QWidget* parent, bool offerPageRange) override {
        QPrintDialog dialog(&printer_, parent);
        if (!offerPageRange) {
            dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        }
        return dialog.exec() == QDialog::Accepted;
    }

    Expected<void, QString> Print(const std::vector<Page>& pages) override {
        if (pages.empty()) {
            return QStringLiteral("there is no page to print");
        }
        // The pages are laid out on the paper chosen for the printer; only their turn is theirs.
        printer_.setFullPage(true);
        const auto turn = [this](const Page& page) {
            printer_.setPageOrientation(page.WidthMm > page.HeightMm ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait);
        };
        turn(pages.front());
        QPainter painter;
        if (!painter.begin(&printer_)) {
            return QStringLiteral("the printer could not be opened");
        }
        const double dotsPerMm = printer_.resolution() / kMillimetresPerInch;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                turn(pages[i]);
                if (!printer_.newPage()) {
                    painter.end();
                    return QStringLiteral("a new page could not be started");
                }
            }
            PaintPage(painter, pages[i], dotsPerMm);
        }
        if (!painter.end() || printer_.printerState() == QPrinter::Error) {
            return QStringLiteral("the job could not be sent to %1").arg(printer_.printerName());
        }
        return Done{};
    }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

class QtPrinting : public Printing {
public:
    Expected<QByteArray, QString> Svg(const Page& page, const PageDocumentInfo& info) override {
        return SvgOf(page, info);
    }

    std::optional<QSizeF> DefaultPrinterPaper() override {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull()) {
            return std::nullopt;
        }
        return printer.defaultPageSize().size(QPageSize::Millimeter);
    }

    std::unique_ptr<PaperPrinter> NewPrinter(const QString& documentName) override {
        return std::make_unique<QtPaperPrinter>(documentName);
    }

    PrintOutcome PrintPage(const QString& documentName, int orientation, const QRectF& content,
                           const std::function<void(QPainter&)>& paint) override {
        return dieprofile::PrintPage(documentName, orientation, content, paint);
    }
};

} // namespace

} // namespace dieprofile

extern "C" Q_DECL_EXPORT dieprofile::Printing* DieprofilePrinting(const char* version) {
    static dieprofile::QtPrinting printing;
    return std::strcmp(version, DIEPROFILE_VERSION) == 0 ? &printing : nullptr;
}
