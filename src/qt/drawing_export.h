// The drawing sheet and the exports that need the painter: PDF and SVG sheets with a title block,
// and the sheet on a printer chosen in the platform's print dialog.
#pragma once

#include "app/drawing_export.h"
#include "app/form_model.h"

#include <QString>
#include <optional>

class QWidget;

namespace dieprofile {

// Writes path in the format of its extension (.pdf, .svg or .dxf) from the last Calculate.
// Nothing on success; otherwise the message for the user, which names the file and what is wrong,
// and nothing has been written. dxf says what a DXF holds and which way its axis runs.
std::optional<QString> ExportDrawing(const Form1Model& model, const QString& designName,
                                     const QString& path, const DxfExportOptions& dxf = {});

// Shows the platform's print dialog and prints the drawing sheet on the printer chosen there.
// Nothing when it printed or the user cancelled; otherwise the message for the user.
std::optional<QString> PrintDrawing(QWidget* parent, const Form1Model& model,
                                    const QString& designName);

} // namespace dieprofile
