#include "qt/window_printer.h"

#include <QLibrary>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <cstring>
#include <cups/cups.h>

namespace dieprofile {

namespace {

PrintOutcome Failed(std::string reason) {
    return {PrintOutcome::Kind::Failed, std::move(reason)};
}

// A queue that rejects jobs swallows them without a word to the toolkit, so the spooler is asked
// first; the job would otherwise be reported as printed and never appear. The CUPS library is
// loaded only here, when printing, so that it costs start-up nothing.
bool RejectsJobs(const QString& printer) {
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto getNamedDest =
        reinterpret_cast<decltype(&cupsGetNamedDest)>(cups.resolve("cupsGetNamedDest"));
    const auto getOption =
        reinterpret_cast<decltype(&cupsGetOption)>(cups.resolve("cupsGetOption"));
    const auto freeDests =
        reinterpret_cast<decltype(&cupsFreeDests)>(cups.resolve("cupsFreeDests"));
    if (getNamedDest == nullptr || getOption == nullptr || freeDests == nullptr) {
        return false; // no CUPS on this system: the toolkit prints by other means
    }
    cups_dest_t* dest = getNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr);
    if (dest == nullptr) {
        return false; // not a queue of the spooler
    }
    const char* accepting =
        getOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool rejects = accepting != nullptr && std::strcmp(accepting, "false") == 0;
    freeDests(1, dest);
    return rejects;
}

} // namespace

PrintOutcome PrintWidget(QWidget& window, int orientation) {
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (printers.isEmpty()) {
            return {PrintOutcome::Kind::NoPrinter, {}};
        }
        target = printers.front();
    }
    if (target.state() == QPrinter::Error) {
        return Failed("the printer " + target.printerName().toStdString() + " reports an error.");
    }

    if (RejectsJobs(target.printerName())) {
        return Failed("the printer " + target.printerName().toStdString() +
                      " is not accepting jobs.");
    }

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(window.windowTitle());
    printer.setPageOrientation(orientation == kLandscapeOrientation ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);

    // Recording the widgets, not grabbing their pixels, keeps every line and caption a vector.
    QPicture picture;
    {
        QPainter recorder(&picture);
        window.render(&recorder, QPoint(), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        return Failed("the printer " + target.printerName().toStdString() +
                      " could not be opened.");
    }
    // The whole window fills the printable area, centred, keeping its proportions.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size = window.size();
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate((page.width() - size.width() * scale) / 2,
                      (page.height() - size.height() * scale) / 2);
    // Playing a picture back scales it once more, from the picture's resolution to the printer's;
    // the fit above is already in printer pixels, so that factor is taken out again.
    painter.scale(scale * picture.logicalDpiX() / printer.logicalDpiX(),
                  scale * picture.logicalDpiY() / printer.logicalDpiY());
    painter.drawPicture(0, 0, picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return Failed("the job could not be sent to " + target.printerName().toStdString() + ".");
    }
    return {};
}

} // namespace dieprofile
