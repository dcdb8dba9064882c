// The painters the exports ask for: laid-out pages, the drawing sheet and the projector chart
// rendered as the bytes of a PDF or an SVG; and the sheet on a printer chosen in the platform's
// print dialog. What is written and whether it may be is the export use case's (app/export.h).
#pragma once

#include "app/export.h"
#include "app/form_model.h"

#include <QString>
#include <optional>

class QWidget;

namespace dieprofile {

class QtExportPainters : public ExportPainters {
public:
    Rendering Pdf(const std::vector<Page>& pages, const std::string& title) override;
    Rendering Svg(const Page& page, const std::string& title,
                  const std::string& description) override;
};

// The sheet's paper when none is asked for: the default printer's, else the locale's.
Paper DefaultSheetPaper();

// An export of a drawing as the designed window asks it: the path in the system's encoding, the
// sheet details the user keeps, the paper given or the default.
ExportRequest DrawingRequest(const QString& path, const QString& designName,
                             const DxfExportOptions& dxf = {}, std::optional<Paper> paper = {});

// Writes the last Calculate's drawing to path in the format of its extension (.pdf, .svg or .dxf),
// or with chart the projector chart. dxf says what a DXF holds and which way its axis runs; paper
// is the sheet's and the chart's (none: the default). Done (notes, when given, then say what else
// there is to tell), or the refusal, which names the file and what is wrong, and nothing has been
// written.
Expected<void, ExportRefusal>
ExportDrawingFile(const Form1Model& model, const QString& designName, const QString& path,
                  const std::optional<OverlayOptions>& chart = {}, const DxfExportOptions& dxf = {},
                  std::optional<Paper> paper = {}, ExportNotes* notes = nullptr);

// Shows the platform's print dialog and prints the drawing sheet on the printer chosen there.
// Nothing when it printed or the user cancelled; otherwise the message for the user.
std::optional<QString> PrintDrawing(QWidget* parent, const Form1Model& model,
                                    const QString& designName);

} // namespace dieprofile
