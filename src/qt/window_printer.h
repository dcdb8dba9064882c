// Puts one page on the default printer, drawn by the caller as vectors, after asking the spooler
// whether its queue can take the job.
#pragma once

#include "app/toolkit.h"

#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

namespace dieprofile {

// Paints `content` (in the caller's logical pixels) centred on the page and as large as fits,
// keeping its proportions. orientation: 1 portrait, 2 landscape.
PrintOutcome PrintPage(const QString& documentName, int orientation, const QRectF& content,
                       const std::function<void(QPainter&)>& paint);

} // namespace dieprofile
