// Laid-out pages on paper: one routine paints a page at true size on any painter, and the writers
// around it turn a sequence of pages into a PDF or an SVG held in memory (so that the file is
// written in one piece by the caller), or print them. Lines are vectors and text is text, in
// Liberation Sans or Liberation Mono, embedded in the PDF.
#pragma once

#include "output/page.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

class QPainter;
class QPrinter;

namespace dieprofile {

// What a document says about itself beside its pages.
struct PageDocumentInfo {
    QString Title;
    QString Description; // the SVG's description; PDF has no field for it
};

// Paints the page with the painter's origin at the paper's top-left corner and dotsPerMm device
// units to the millimetre.
void PaintPage(QPainter& painter, const Page& page, double dotsPerMm);

// The bytes of a PDF of the pages, each page on paper of its own size; or why it could not be made.
std::variant<QByteArray, QString> PdfOfPages(const std::vector<Page>& pages,
                                             const PageDocumentInfo& info);

// The bytes of an SVG of one page, its user unit a tenth of a millimetre; or why it could not be
// made. Every text in it is valid XML whatever characters the page holds.
std::variant<QByteArray, QString> SvgOfPage(const Page& page, const PageDocumentInfo& info);

// Prints the pages on the printer, each at true size from the paper's top-left corner. Nothing on
// success; otherwise why not.
std::optional<QString> PrintPages(QPrinter& printer, const std::vector<Page>& pages);

// Text that may stand in XML character data or an attribute: markup characters as entities, and
// characters XML cannot hold (control characters, non-characters) shown as U+FFFD.
QString XmlSafe(const QString& text);

} // namespace dieprofile
