#include "app/export.h"

#include "app/drawing_export.h"
#include "app/sheet_content.h"
#include "core/message_text.h"
#include "output/atomic_file.h"
#include "output/dxf_writer.h"
#include "output/overlay_layout.h"
#include "profile/profile_figures.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <ctime>

namespace dieprofile {

namespace {

bool Finite(const ProfileState& state) {
    for (const ProfileStateMember& member : ProfileStateMembers()) {
        if (const auto* number = std::get_if<double ProfileState::*>(&member.Member);
            number != nullptr && !std::isfinite(state.**number)) {
            return false;
        }
    }
    return true;
}

bool Finite(const BoreWall& wall, const ProfileFigures& figures) {
    const bool pointsFinite = std::all_of(wall.begin(), wall.end(), [](Point point) {
        return std::isfinite(point.X) && std::isfinite(point.Y);
    });
    return pointsFinite && std::isfinite(figures.EntranceLength) &&
           std::isfinite(figures.ReductionLength) && std::isfinite(figures.BearingLength) &&
           std::isfinite(figures.ExitLength) && std::isfinite(figures.Meeting.AboveBearing);
}

// What a zone of no height, or one standing above the zone over it, is called: bell, cone,
// bearing, back relief, from the mouth down.
std::string ZoneFault(std::size_t zone, const ProfileState& profile, double height) {
    switch (zone) {
    case 0:
        return "the entrance bell has no length";
    case 1:
        return profile.EntranceLength + profile.ExitLength >= height
                   ? "the entrance and exit zones overlap"
                   : "the bearing leaves no room for the reduction cone";
    case 2:
        return "the bearing has no length";
    default:
        return "the back relief has no length";
    }
}

} // namespace

std::string ExtensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
        return {};
    }
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::optional<ExportFormat> ExportFormatOf(std::string_view path) {
    const std::string extension = ExtensionOf(path);
    if (extension == "pdf") {
        return ExportFormat::Pdf;
    }
    if (extension == "svg") {
        return ExportFormat::Svg;
    }
    if (extension == "dxf") {
        return ExportFormat::Dxf;
    }
    return std::nullopt;
}

std::optional<std::string> ProfileFault(const CalculatedDrawing& drawn, const DrawingScene& scene) {
    const ProfileState& profile = drawn.Profile;
    const BoreWall wall = BoreWallOf(drawn.Frame, scene, BoreSide::Right);
    const ProfileFigures figures = FiguresOf(profile, drawn.Frame, scene);
    // An outlet of nothing, or so little that the elongation overflows, has no bearing to make.
    if (!(profile.OutletDiameter > 0) || !std::isfinite(figures.Elongation)) {
        return "the outlet is too small to be made";
    }
    if (!Finite(profile) || !Finite(wall, figures)) {
        return "a figure of the profile is not a finite number";
    }
    // The blank as drawn: its right-hand side and its two faces.
    const SectionLine side = ToSection(drawn.Frame, scene.LineDieRight);
    const double blankRadius = std::max(side.Start.X, side.End.X);
    const double top = std::max(side.Start.Y, side.End.Y);
    const double bottom = std::min(side.Start.Y, side.End.Y);
    if (std::any_of(wall.begin(), wall.end(),
                    [&](Point point) { return std::abs(point.X) > blankRadius; })) {
        return "the bore is wider than the blank";
    }
    if (profile.IncomingDiameter / 2 > blankRadius) {
        return "the incoming wire is wider than the blank";
    }
    // Down the wall from the mouth, each zone ends below where it starts.
    for (std::size_t zone = 0; zone + 1 < wall.size(); ++zone) {
        if (!(wall[zone].Y > wall[zone + 1].Y)) {
            return ZoneFault(zone, profile, profile.DiamondHeight);
        }
    }
    if (wall.front().Y > top || wall.back().Y < bottom) {
        return "the bore runs out through the blank's faces";
    }
    // From the mouth to the bearing the bore only narrows.
    if (wall[1].X > wall[0].X) {
        return "the entrance bell is narrower than the reduction cone";
    }
    if (wall[2].X > wall[1].X) {
        return "the reduction cone is narrower than the bearing";
    }
    return std::nullopt;
}

bool ToleranceWiderThanDie(double tolerance, const CalculatedDrawing& drawn) {
    return 2 * tolerance > drawn.Profile.DiamondDiameter;
}

std::variant<Page, std::string> DrawingSheetOf(const CalculatedDrawing& drawn,
                                               const DrawingScene& scene,
                                               const std::string& designName, Paper paper,
                                               const DrawingIdentity& identity,
                                               const SheetDetails& details, std::string date) {
    if (date.empty()) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::array<char, 16> today{};
        std::strftime(today.data(), today.size(), "%Y-%m-%d", &local);
        date = today.data();
    }
    const SheetContent content =
        SheetContentOf(drawn, scene, designName, identity, details, paper, std::move(date));
    if (std::optional<std::string> refusal = SheetRefusal(content)) {
        return std::move(*refusal);
    }
    return LayOutSheet(content);
}

std::string SheetTitle(const std::string& designName) {
    return "Die Profile: " + designName;
}

std::string CannotExport(std::string_view path, std::string_view reason) {
    // The name as the user gave it, but never a control character sent to a terminal.
    return "Cannot export " + QuotedForMessage(path) + ": " + std::string(reason) + ".";
}

std::optional<std::string> DrawingRefusal(const Form1Model& model) {
    if (!model.LastCalculation()) {
        return std::string(kNothingDrawn);
    }
    return ProfileFault(*model.LastCalculation(), model.Scene());
}

std::optional<ExportRefusal> ChartRefusal(const Form1Model& model, const OverlayOptions& options) {
    if (const std::optional<std::string> reason = DrawingRefusal(model)) {
        return ExportRefusal{*reason, false};
    }
    if (ToleranceWiderThanDie(options.Tolerance, *model.LastCalculation())) {
        return ExportRefusal{std::string(kToleranceWiderThanDie), true};
    }
    return std::nullopt;
}

std::variant<LaidOutExport, ExportRefusal> LayOutExport(const Form1Model& model,
                                                        const ExportRequest& request) {
    const std::string& path = request.Path;
    const auto refuse = [&path](std::string_view reason, bool usage = false) {
        return ExportRefusal{CannotExport(path, reason), usage};
    };
    const std::optional<ExportFormat> format = ExportFormatOf(path);
    if (!format) {
        return refuse("the file name must end in " + std::string(kExportExtensions));
    }
    if (request.Chart && *format != ExportFormat::Pdf) {
        return refuse("the projector chart is written as a PDF", true);
    }
    if (!model.DesignPath().empty() && IsSameFile(path, model.DesignPath())) {
        return refuse("it is the design file \"" + model.DesignName() + "\" itself", true);
    }
    if (request.Chart) {
        if (const std::optional<ExportRefusal> refusal = ChartRefusal(model, *request.Chart)) {
            return refuse(refusal->Message, refusal->UsageMistake);
        }
    } else if (const std::optional<std::string> reason = DrawingRefusal(model)) {
        return refuse(*reason);
    }
    const CalculatedDrawing& drawn = *model.LastCalculation();
    const std::string& designName = request.DesignName;
    LaidOutExport laidOut;
    laidOut.Format = *format;
    if (*format == ExportFormat::Dxf) {
        laidOut.Dxf = WriteDxf(DxfDocumentOf(drawn, model.Scene(), designName, request.Dxf));
    } else if (request.Chart) {
        const PaperSize paper = PortraitSize(request.SheetPaper);
        auto chart = LayOutOverlay(drawn.Frame, model.Scene(), drawn.UnitDivisor, *request.Chart,
                                   designName, paper.WidthMm, paper.HeightMm);
        if (std::string* problem = std::get_if<std::string>(&chart)) {
            // The chart's own refusals (too many pages, too small a page) are whole sentences.
            return ExportRefusal{std::move(*problem), false};
        }
        const OverlayPages& pages = std::get<OverlayPages>(chart);
        laidOut.Notes = {pages.Pages.size(), pages.Warning};
        laidOut.Pages = OverlayPaper(pages);
        laidOut.Title = designName.empty() ? "Die profile overlay" : designName;
    } else {
        std::variant<Page, std::string> sheet =
            DrawingSheetOf(drawn, model.Scene(), designName, request.SheetPaper,
                           model.SheetIdentity(), request.Details, request.Date);
        if (const std::string* reason = std::get_if<std::string>(&sheet)) {
            return refuse(*reason);
        }
        laidOut.Pages = {std::move(std::get<Page>(sheet))};
        laidOut.Title = SheetTitle(designName);
        laidOut.Description = "Drawing sheet of a wire-drawing die";
    }
    return laidOut;
}

std::optional<ExportRefusal> ExportDrawing(const Form1Model& model, const ExportRequest& request,
                                           ExportPainters* painters, ExportNotes* notes) {
    auto laidOut = LayOutExport(model, request);
    if (const ExportRefusal* refusal = std::get_if<ExportRefusal>(&laidOut)) {
        return *refusal;
    }
    LaidOutExport& made = std::get<LaidOutExport>(laidOut);
    Rendering rendering;
    if (made.Format == ExportFormat::Dxf) {
        rendering.Bytes = std::move(made.Dxf);
    } else if (painters == nullptr) {
        return ExportRefusal{
            CannotExport(request.Path,
                         "PDF and SVG are drawn by the window's painters, which are not here"),
            false};
    } else if (made.Format == ExportFormat::Pdf) {
        rendering = painters->Pdf(made.Pages, made.Title);
    } else {
        rendering = painters->Svg(made.Pages.front(), made.Title, made.Description);
    }
    if (rendering.Failure) {
        return ExportRefusal{CannotExport(request.Path, *rendering.Failure), false};
    }
    if (const auto failure = WriteFileAtomically(request.Path, rendering.Bytes)) {
        return ExportRefusal{CannotExport(request.Path, *failure), false};
    }
    if (notes != nullptr) {
        *notes = std::move(made.Notes);
    }
    return std::nullopt;
}

} // namespace dieprofile
