#include "app/recut_model.h"

#include "app/die_calculation.h"
#include "app/die_set.h"
#include "core/file_name.h"
#include "core/message_text.h"
#include "core/number_text.h"
#include "output/atomic_file.h"
#include "output/dxf_writer.h"

namespace dieprofile {

Expected<CalculatedDrawing> CalculateRecutCandidate(const Design& design) {
    Expected<Calculation, CalculateRefusal> done = CalculateDesign(design);
    if (!done) {
        return Refusal{done.Error().Message};
    }
    return std::move(done->Drawing);
}

std::variant<std::vector<RecutPass>, std::string> RecutPassesOf(const std::string& setPath,
                                                                const std::string& designUnit) {
    std::variant<DieSetFile, std::string> opened = OpenDieSet(setPath);
    if (const std::string* refused = std::get_if<std::string>(&opened)) {
        return *refused;
    }
    const DieSetFile& set = std::get<DieSetFile>(opened);
    if (set.Unit != designUnit) {
        const auto words = [](const std::string& unit) {
            return unit == "in" ? std::string("inches") : std::string("millimetres");
        };
        return "the die set " + QuotedForMessage(DesignFileName(setPath)) + " is in " +
               words(set.Unit) + ", the design in " + words(designUnit);
    }
    std::variant<DieSetInputs, DieSetRefusal> inputs = ReadDieSetInputs(set);
    if (const DieSetRefusal* refused = std::get_if<DieSetRefusal>(&inputs)) {
        return "the die set " + QuotedForMessage(DesignFileName(setPath)) + ": " + refused->Message;
    }
    const DieSetInputs& read = std::get<DieSetInputs>(inputs);
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
    : toolkit_(toolkit), window_(window), inspection_(inspection) {}

bool RecutModel::Plan(const RecutOptions& options) {
    if (!inspection_.Result()) {
        toolkit_.ShowMessage(CannotRecut("no measured die is inspected yet"));
        return false;
    }
    const Design design = window_.CurrentDesign();
    auto planned = PlanRecut(design, *inspection_.Result(), options, CalculateRecutCandidate);
    if (const std::string* refused = std::get_if<std::string>(&planned)) {
        toolkit_.ShowMessage(CannotRecut(*refused));
        return false;
    }
    plan_ = std::get<RecutPlan>(std::move(planned));
    drawingNumber_ = design.Identity.Number.empty() ? window_.DesignName() : design.Identity.Number;
    return true;
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

bool RecutModel::Write(const std::string& path, const std::string& bytes) {
    if (IsSameFile(path, inspection_.MeasuredPath()) ||
        (!window_.DesignPath().empty() && IsSameFile(path, window_.DesignPath()))) {
        return Refuse(path, "it is an input of the recut");
    }
    if (std::optional<std::string> failed = WriteFileAtomically(path, bytes)) {
        return Refuse(path, *failed);
    }
    return true;
}

bool RecutModel::SaveDesign(const std::string& path) {
    if (!plan_) {
        return Refuse(path, "no recut is planned yet");
    }
    if (!HasExtension(path, kDesignExtension.substr(1))) {
        return Refuse(path, "a design's extension is .dieprofile");
    }
    return Write(path, DesignToText(plan_->Recut));
}

bool RecutModel::Export(const std::string& path, ExportPainters* painters) {
    if (!plan_) {
        return Refuse(path, "no recut is planned yet");
    }
    if (HasExtension(path, "csv")) {
        return Write(path, RecutCsv(*plan_));
    }
    if (HasExtension(path, kDesignExtension.substr(1))) {
        return SaveDesign(path);
    }
    const std::optional<ExportFormat> format = ExportFormatOf(path);
    const CalculatedDrawing& drawn = plan_->Drawing;
    if (format == ExportFormat::Dxf) {
        return Write(path, WriteDxf(DxfDocumentOf(drawn, drawn.Scene, RecutTitle())));
    }
    if (format == ExportFormat::Pdf && painters != nullptr) {
        DrawingIdentity identity;
        identity.Title = RecutTitle();
        // A recut starts with no drawing number: the sheet says it is not saved.
        std::variant<Page, std::string> sheet =
            DrawingSheetOf(drawn, drawn.Scene, "", Paper::A4, identity);
        if (const std::string* refused = std::get_if<std::string>(&sheet)) {
            return Refuse(path, *refused);
        }
        Rendering pdf = painters->Pdf({std::get<Page>(std::move(sheet))}, RecutTitle());
        if (pdf.Failure) {
            return Refuse(path, *pdf.Failure);
        }
        return Write(path, pdf.Bytes);
    }
    return Refuse(path, "a recut's extension must be .csv, .dieprofile, .pdf or .dxf");
}

bool RecutModel::OpenInWindow(Form1Model& window, const std::function<bool()>& mayLeave) {
    if (!plan_ || !mayLeave()) {
        return false;
    }
    if (std::optional<std::string> refused = window.ApplyDesign(plan_->Recut)) {
        toolkit_.ShowMessage(*refused);
        return false;
    }
    return true;
}

} // namespace dieprofile
