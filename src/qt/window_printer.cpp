#include "qt/window_printer.h"

#include <QLibrary>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstring>
#include <cups/cups.h>
#include <optional>

namespace dieprofile {

namespace {

PrintOutcome Failed(std::string reason) {
    return {PrintOutcome::Kind::Failed, std::move(reason), {}};
}

std::vector<std::string> SplitAtCommas(const char* list) {
    std::vector<std::string> items;
    std::string item;
    for (const char* c = list; *c != '\0'; ++c) {
        if (*c == ',') {
            items.push_back(std::move(item));
            item.clear();
        } else {
            item += *c;
        }
    }
    items.push_back(std::move(item));
    return items;
}

// The queue as the spooler sees it. The toolkit tells neither a paused queue from one in error
// nor a queue that rejects jobs (it would swallow the job without a word), so the spooler is
// asked. The CUPS library is loaded only here, when printing, so that it costs start-up nothing.
// Nothing when there is no CUPS or the printer is not one of its queues.
std::optional<QueueStatus> SpoolerStatus(const QString& printer) {
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto getNamedDest =
        reinterpret_cast<decltype(&cupsGetNamedDest)>(cups.resolve("cupsGetNamedDest"));
    const auto getOption =
        reinterpret_cast<decltype(&cupsGetOption)>(cups.resolve("cupsGetOption"));
    const auto freeDests =
        reinterpret_cast<decltype(&cupsFreeDests)>(cups.resolve("cupsFreeDests"));
    if (getNamedDest == nullptr || getOption == nullptr || freeDests == nullptr) {
        return std::nullopt;
    }
    cups_dest_t* dest = getNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr);
    if (dest == nullptr) {
        return std::nullopt;
    }
    auto option = [&](const char* name) {
        const char* value = getOption(name, dest->num_options, dest->options);
        return value == nullptr ? "" : value;
    };
    QueueStatus status;
    status.Name = printer.toStdString();
    status.Accepting = std::strcmp(option("printer-is-accepting-jobs"), "false") != 0;
    status.Stopped = std::strcmp(option("printer-state"), "5") == 0; // IPP_PSTATE_STOPPED
    status.Reasons = SplitAtCommas(option("printer-state-reasons"));
    freeDests(1, dest);
    return status;
}

} // namespace

PrintOutcome PrintPage(const QString& documentName, int orientation, const QRectF& content,
                       const std::function<void(QPainter&)>& paint) {
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (printers.isEmpty()) {
            return {PrintOutcome::Kind::NoPrinter, {}, {}};
        }
        target = printers.front();
    }
    const std::string name = target.printerName().toStdString();

    PrintOutcome outcome;
    if (const std::optional<QueueStatus> status = SpoolerStatus(target.printerName())) {
        outcome = OutcomeBeforeSending(*status);
    } else if (target.state() == QPrinter::Error) {
        outcome = Failed("the printer " + name + " reports an error.");
    }
    if (!JobSent(outcome)) {
        return outcome;
    }

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageOrientation(orientation == kLandscapeOrientation ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return Failed("the printer " + name + " could not be opened.");
    }
    // The content fills the printable area, centred, keeping its proportions.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / content.width(), page.height() / content.height());
    painter.translate((page.width() - content.width() * scale) / 2,
                      (page.height() - content.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.translate(-content.topLeft());
    paint(painter);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return Failed("the job could not be sent to " + name + ".");
    }
    return outcome;
}

} // namespace dieprofile
