// Laid-out pages on paper: one routine paints a page at true size on any painter, and the PDF
// writer around it turns a sequence of pages into a PDF held in memory (so that the file is written
// in one piece by the caller). Lines are vectors and text is text, in Liberation Sans or Liberation
// Mono, embedded in the PDF. The SVG writer and the printers paint with the same routine from the
// printing module (printing.h).
#pragma once

#include "core/expected.h"
#include "output/page.h"

#include <QByteArray>
#include <QString>
#include <vector>

class QPainter;

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
Expected<QByteArray, QString> PdfOfPages(const std::vector<Page>& pages,
                                         const PageDocumentInfo& info);

// Text that may stand in XML character data or an attribute: markup characters as entities, and
// characters XML cannot hold (control characters, non-characters) shown as U+FFFD.
QString XmlSafe(const QString& text);

} // namespace dieprofile
