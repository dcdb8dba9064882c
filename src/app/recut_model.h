// The recut step of an inspection without a toolkit: the plan of the inspected die's recut from
// the options of the step, and its commands (Save Design…, Export…, Open in Window). The window
// step binds to it; the command line and the headless driver call the same commands.
#pragma once

#include "app/export.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "app/inspection_model.h"
#include "app/toolkit.h"
#include "inspection/recut.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace dieprofile {

// The one Calculate of a die, as the recut draws each candidate with it.
Expected<CalculatedDrawing> CalculateRecutCandidate(const Design& design);

// The sizes of a die set's passes for a recut: each pass's outlet with its incoming diameter.
// Refused as the Die Set window refuses the set, or when its unit is not the design's.
Expected<std::vector<RecutPass>> RecutPassesOf(const std::string& setPath,
                                               const std::string& designUnit);

// "Cannot plan the recut: REASON."
std::string CannotRecut(std::string_view reason);

// The recut step's fields as typed: empty for the default.
struct RecutTyped {
    std::string Allowance;
    RecutSizeKind Kind = RecutSizeKind::Step;
    std::string Sizes; // the step, the list, or the die set file's path
    std::string Wall;
};

class RecutModel {
public:
    RecutModel(Toolkit& toolkit, const Form1Model& window, const InspectionModel& inspection);

    // Plans the recut of the inspected die of the window's design; a refusal is one message and
    // the plan shown before stays. True when planned.
    bool Plan(const RecutOptions& options);
    // Plan of the step's fields: each read as the command line reads its option; a text that is
    // not a number, or no die set chosen, refused in one message.
    bool PlanTyped(const RecutTyped& typed);
    // Save Design…: the recut design as a design file, with no drawing number.
    bool SaveDesign(const std::string& path);
    // Export…: by the extension, .csv the figures, .dieprofile the design, and otherwise the
    // recut's drawing exported as the designed window exports a drawing (sheet: the request's
    // paper, details and DXF options; painters needed for PDF and SVG), its sheet titled "Recut
    // of NUMBER from Ø…". Never over an input.
    bool Export(const std::string& path, ExportPainters* painters, ExportRequest sheet = {});
    // Open in Window: the recut design into the designed window as a new design from no file,
    // calculated, once mayLeave (the unsaved-changes question) allows it.
    bool OpenInWindow(Form1Model& window, const std::function<bool()>& mayLeave);

    // The plan, while the die is as it was inspected for it: none once it is inspected again (a
    // measured file opened, a tolerance or the walls changed), which asks for a plan again.
    const std::optional<RecutPlan>& Result() const;
    // The recut as a window of its own would hold it, calculated: what its drawing exports.
    const Form1Model& Drawing() const { return drawing_; }
    // Where the recut came from: "recut of NAME".
    const std::string& Origin() const { return origin_; }
    // The sheet's title: "Recut of NUMBER from Ø0.0120 in".
    std::string RecutTitle() const;

private:
    bool Refuse(const std::string& path, std::string_view reason);
    bool Write(const std::string& path, const std::string& bytes);
    bool IsInput(const std::string& path) const;
    // Whether there is a plan to save or export, or why not.
    Expected<void> CheckPlanned() const;

    Toolkit& toolkit_;
    const Form1Model& window_;
    const InspectionModel& inspection_;
    std::optional<RecutPlan> plan_;
    std::size_t plannedOn_ = 0; // the inspection the plan was made from
    std::string drawingNumber_;
    std::string origin_;
    // The recut's own window, never shown: its focus, bell and window place touch nothing else.
    HeadlessToolkit drawingToolkit_;
    Form1Model drawing_{drawingToolkit_};
};

} // namespace dieprofile
