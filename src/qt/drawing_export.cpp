// PLACEHOLDER until the sheet writer lands: refuses every export.
#include "qt/drawing_export.h"

namespace dieprofile {

std::optional<QString> ExportDrawing(const Form1Model& /*model*/, const QString& /*designName*/,
                                     const QString& path) {
    return QStringLiteral("Cannot export \"%1\": not built yet.").arg(path);
}

std::optional<QString> PrintDrawing(QWidget* /*parent*/, const Form1Model& /*model*/,
                                    const QString& /*designName*/) {
    return QStringLiteral("Printing the drawing sheet is not built yet.");
}

} // namespace dieprofile
