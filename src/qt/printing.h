// The platform's printers and the SVG writer. They need Qt Print Support and Qt SVG, which a start
// that neither prints nor exports should not load, so they live in a module of their own (built
// from printing_module.cpp and window_printer.cpp) that the program loads the first time it
// prints, exports or asks for the default printer's paper. The program finds the module in its
// private library folder (../lib/dieprofile beside bin/) once installed, and beside itself in the
// build tree.
#pragma once

#include "output/page.h"
#include "output/print_action.h"
#include "qt/page_painter.h"

#include <QByteArray>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QWidget;

namespace dieprofile {

// One of the platform's printers at high resolution, as a print dialog sets it up.
class PaperPrinter {
public:
    PaperPrinter() = default;
    PaperPrinter(const PaperPrinter&) = delete;
    PaperPrinter& operator=(const PaperPrinter&) = delete;
    virtual ~PaperPrinter() = default;

    virtual QString Name() const = 0;
    virtual QPageLayout PageLayout() const = 0;
    // The paper and its turn, printed on edge to edge.
    virtual void SetFullPageLayout(const QPageLayout& layout) = 0;
    // The job's name, which the print dialog also offers as the name of a PDF file.
    virtual void SetDocumentName(const QString& name) = 0;
    // The platform's print dialog, with or without the choice of a page range; false when the user
    // cancelled.
    virtual bool Choose(QWidget* parent, bool offerPageRange) = 0;
    // Prints the pages, each at true size from the paper's top-left corner, turned to its own
    // orientation. Done, or why not.
    virtual Expected<void, QString> Print(const std::vector<Page>& pages) = 0;
};

// What the module offers.
class Printing {
public:
    Printing() = default;
    Printing(const Printing&) = delete;
    Printing& operator=(const Printing&) = delete;
    virtual ~Printing() = default;

    // The bytes of an SVG of one page, as SvgOfPage below describes it.
    virtual Expected<QByteArray, QString> Svg(const Page& page, const PageDocumentInfo& info) = 0;
    // The size in millimetres of the default printer's paper; none without a default printer.
    virtual std::optional<QSizeF> DefaultPrinterPaper() = 0;
    // A printer for a document of this name; the print dialog chooses which.
    virtual std::unique_ptr<PaperPrinter> NewPrinter(const QString& documentName) = 0;
    // Puts one page on the default printer after asking the spooler about its queue
    // (window_printer.h).
    virtual PrintOutcome PrintPage(const QString& documentName, int orientation,
                                   const QRectF& content,
                                   const std::function<void(QPainter&)>& paint) = 0;
};

// The module, loaded by the first call; or, when it cannot be loaded, why not (in words that
// follow "cannot print" or "cannot export").
Expected<Printing*, QString> LoadedPrinting();

// The bytes of an SVG of one page, its user unit a tenth of a millimetre; or why it could not be
// made. Every text in it is valid XML whatever characters the page holds. Loads the module.
Expected<QByteArray, QString> SvgOfPage(const Page& page, const PageDocumentInfo& info);

// Where a program that is neither installed nor built beside the module finds it (the tests and
// benchmarks in the build tree). Takes effect at the next load.
void SetPrintingModule(const QString& path);

// The module's one entry, found by this name: its printing, or none when the module was built for
// another version of the program (their classes need not agree).
inline constexpr char kPrintingEntry[] = "DieprofilePrinting";
using PrintingEntry = Printing* (*)(const char* version);

} // namespace dieprofile
