#include "app/recut_model.h"

#include "core/file_name.h"
#include "core/message_text.h"
#include "core/number_text.h"
#include "dieset/design_die.h"
#include "dieset/die_set.h"
#include "output/atomic_file.h"

namespace dieprofile {

Expected<CalculatedDrawing> CalculateRecutCandidate(const Design& design) {
    Expected<Calculation, CalculateRefusal> done = CalculateDesign(design);
    if (!done) {
        return Refusal{done.Error().Message};
    }
    return std::move(done->Drawing);
}

Expected<std::vector<RecutPass>> RecutPassesOf(const std::string& setPath,
                                               const std::string& designUnit) {
    const Expected<DieSetFile> opened = OpenDieSet(setPath);
    if (!opened) {
        return opened.Error();
    }
    const DieSetFile& set = *opened;
    if (set.Unit != designUnit) {
        const auto words = [](const std::string& unit) {
            return unit == "in" ? std::string("inches") : std::string("millimetres");
        };
        return Refusal{"the die set " + QuotedForMessage(DesignFileName(setPath)) + " is in " +
                       words(set.Unit) + ", the design in " + words(designUnit)};
    }
    const Expected<DieSetInputs, DieSetRefusal> inputs = ReadDieSetInputs(set);
    if (!inputs) {
        return Refusal{"the die set " + QuotedForMessage(DesignFileName(setPath)) + ": " +
                       inputs.Error().Message};
    }
    const DieSetInputs& read = *inputs;
    std::vector<RecutPass> passes;
    double incoming = read.StartDiameter;
    for (const double outlet : read.Outlets) {
        passes.push_back({outlet, incoming});
        incoming = outlet;
    }
    return passes;
}

std::string CannotRecut(std::string_view reason) {
    // A reason that is a sentence of its own (a die set's file refused) keeps its one stop.
    return "Cannot plan the recut: " + std::string(reason) + (reason.ends_with('.') ? "" : ".");
}

RecutModel::RecutModel(Toolkit& toolkit, const Form1Model& window,
                       const InspectionModel& inspection)
    : toolkit_(toolkit), window_(window), inspection_(inspection) {
    drawing_.Form_Load();
}

bool RecutModel::Plan(const RecutOptions& options) {
    if (!inspection_.Result()) {
        toolkit_.ShowMessage(CannotRecut("no measured die is inspected yet"));
        return false;
    }
    // The plan holds the measured points against the design they were inspected against: not
    // against one opened or typed since (the recut itself, once opened in the window).
    if (const Expected<InspectionDesign> now = InspectionDesignOf(window_);
        !now || now->Wall != inspection_.Design()->Wall) {
        toolkit_.ShowMessage(
            CannotRecut("the designed window no longer holds the design the die was inspected "
                        "against: open the measured file again"));
        return false;
    }
    const Design design = window_.DrawnDesign();
    Expected<RecutPlan> planned =
        PlanRecut(design, *inspection_.Result(), options, CalculateRecutCandidate);
    if (!planned) {
        toolkit_.ShowMessage(CannotRecut(planned.Error().Message));
        return false;
    }
    const RecutPlan& recut = *planned;
    // The recut as its window would draw it, so that its drawing is what Open in Window shows.
    const std::string name = window_.DesignName().empty() ? "the design" : window_.DesignName();
    if (const Expected<void> drawn = drawing_.ApplyAsNewDesign(recut.Recut, "recut of " + name);
        !drawn) {
        toolkit_.ShowMessage(CannotRecut(drawn.Error().Message));
        return false;
    }
    plan_ = *std::move(planned);
    plannedOn_ = inspection_.Inspections();
    drawingNumber_ = design.Identity.Number.empty() ? window_.DesignName() : design.Identity.Number;
    origin_ = drawing_.Origin();
    DrawingIdentity titled;
    titled.Title = RecutTitle();
    drawing_.SetIdentity(titled);
    return true;
}

bool RecutModel::PlanTyped(const RecutTyped& typed) {
    RecutOptions options;
    const auto read = [this](const std::string& text, std::string_view what,
                             std::optional<double>& value) {
        if (text.empty()) {
            return true;
        }
        value = ParseNumber(text);
        if (!value) {
            toolkit_.ShowMessage(CannotRecut(std::string(what) + " must be a number, not " +
                                             QuotedForMessage(text)));
        }
        return value.has_value();
    };
    if (!read(typed.Allowance, "the allowance", options.Allowance) ||
        !read(typed.Wall, "the wall", options.Wall)) {
        return false;
    }
    options.Sizes.Kind = typed.Kind;
    switch (typed.Kind) {
    case RecutSizeKind::Step:
        if (!read(typed.Sizes, "the step", options.Sizes.Step)) {
            return false;
        }
        break;
    case RecutSizeKind::List: {
        Expected<std::vector<double>> list = ParseRecutSizes(typed.Sizes);
        if (!list) {
            toolkit_.ShowMessage(CannotRecut(list.Error().Message));
            return false;
        }
        options.Sizes.List = *std::move(list);
        break;
    }
    case RecutSizeKind::DieSet: {
        if (typed.Sizes.empty()) {
            toolkit_.ShowMessage(CannotRecut("choose the die set whose outlets it may go to"));
            return false;
        }
        Expected<std::vector<RecutPass>> passes =
            RecutPassesOf(typed.Sizes, window_.DrawnDesign().Unit);
        if (!passes) {
            toolkit_.ShowMessage(CannotRecut(passes.Error().Message));
            return false;
        }
        options.Sizes.Passes = *std::move(passes);
        break;
    }
    }
    return Plan(options);
}

std::string RecutModel::RecutTitle() const {
    if (!plan_) {
        return {};
    }
    const std::string unit = plan_->UnitDivisor > 1 ? " in" : " mm";
    return "Recut of " + drawingNumber_ + " from \xC3\x98" + FixedDecimals(plan_->DesignOutlet, 4) +
           unit;
}

bool RecutModel::Refuse(const std::string& path, std::string_view reason) {
    toolkit_.ShowMessage(CannotExport(path, reason));
    return false;
}

bool RecutModel::IsInput(const std::string& path) const {
    return IsSameFile(path, inspection_.MeasuredPath()) ||
           (!window_.DesignPath().empty() && IsSameFile(path, window_.DesignPath()));
}

bool RecutModel::Write(const std::string& path, const std::string& bytes) {
    if (IsInput(path)) {
        return Refuse(path, "it is an input of the recut");
    }
    if (const Expected<void> written = WriteFileAtomically(path, bytes); !written) {
        return Refuse(path, written.Error().Message);
    }
    return true;
}

const std::optional<RecutPlan>& RecutModel::Result() const {
    static const std::optional<RecutPlan> none;
    return plannedOn_ == inspection_.Inspections() ? plan_ : none;
}

Expected<void> RecutModel::CheckPlanned() const {
    if (!plan_) {
        return Refusal{"no recut is planned yet"};
    }
    if (!Result()) {
        return Refusal{"the die was inspected again since the recut was planned: plan it again"};
    }
    return Done{};
}

bool RecutModel::SaveDesign(const std::string& path) {
    if (const Expected<void> planned = CheckPlanned(); !planned) {
        return Refuse(path, planned.Error().Message);
    }
    if (!HasExtension(path, kDesignExtension.substr(1))) {
        return Refuse(path, "a design's extension is .dieprofile");
    }
    return Write(path, DesignToText(plan_->Recut));
}

bool RecutModel::Export(const std::string& path, ExportPainters* painters, ExportRequest sheet) {
    if (const Expected<void> planned = CheckPlanned(); !planned) {
        return Refuse(path, planned.Error().Message);
    }
    if (HasExtension(path, "csv")) {
        return Write(path, RecutCsv(*plan_));
    }
    if (HasExtension(path, kDesignExtension.substr(1))) {
        return SaveDesign(path);
    }
    if (!ExportFormatOf(path)) {
        return Refuse(path, "a recut's extension must be .csv, .dieprofile, .pdf, .svg or .dxf");
    }
    if (IsInput(path)) {
        return Refuse(path, "it is an input of the recut");
    }
    // The one export of a drawing, as the designed window's Export Drawing… writes it.
    sheet.Path = path;
    sheet.DesignName.clear(); // a recut starts with no file: the sheet says it is not saved
    sheet.Chart.reset();
    const Expected<void, ExportRefusal> exported = ExportDrawing(drawing_, sheet, painters);
    if (!exported) {
        toolkit_.ShowMessage(exported.Error().Message);
    }
    return exported.HasValue();
}

bool RecutModel::OpenInWindow(Form1Model& window, const std::function<bool()>& mayLeave) {
    if (!Result() || !mayLeave()) {
        return false;
    }
    // A new design from no file: no save can write the recut over the worn die's design.
    if (const Expected<void> opened = window.ApplyAsNewDesign(plan_->Recut, origin_); !opened) {
        toolkit_.ShowMessage(opened.Error().Message);
        return false;
    }
    window.SetIdentity(drawing_.Identity()); // its sheet keeps the recut's title
    return true;
}

} // namespace dieprofile
