// Feeds arbitrary bytes to the design file's reader. Whatever the bytes, it must not crash, hang
// or read out of bounds, and what it accepts must hold:
// - the unit is "in" or "mm"; no field text is longer than 1,000 characters or holds a control
//   character;
// - the design written out again reads back as the same design (nothing the reader accepts is
//   lost or altered by the writer);
// - opened as the window opens it, each export (the drawing sheet, the DXF, the projector chart)
//   is refused in words or laid out bounded: every coordinate finite, the sheet's lines on its
//   paper, a page of at most a few ten thousand strokes, a DXF of at most a few megabytes,
//   whatever the sizes typed.
// Before the fuzzing starts, the largest files of the shapes that cost a reader the most and the
// designs of the worst sizes (which the fuzzer's short inputs never reach) go through the same
// checks.
#include "app/export.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "output/design_file.h"
#include "support/worst_designs.h"

#include <array>
#include <cmath>
#include <optional>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "design file property failed: %s\n", what);
    std::abort();
}

using dieprofile::Point;

bool Finite(Point p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

// Far more than any sheet or chart page draws (a few thousand), far less than a layout that grew
// with the blank's size instead of with the paper.
constexpr std::size_t kMaxPageItems = 50000;
constexpr std::size_t kMaxDxfBytes = std::size_t{4} << 20;

void CheckPage(const dieprofile::Page& page, bool onPaper) {
    if (page.Lines.size() + page.Outlines.size() + page.Texts.size() > kMaxPageItems) {
        Fail("a page laid out without bound");
    }
    // A stroke may reach a millimetre past the paper's edge (its width, rounding), never further.
    const auto onIt = [&](Point p) {
        return !onPaper ||
               (p.X >= -1 && p.Y >= -1 && p.X <= page.WidthMm + 1 && p.Y <= page.HeightMm + 1);
    };
    for (const dieprofile::PageLine& line : page.Lines) {
        if (!Finite(line.Start) || !Finite(line.End) || !std::isfinite(line.WidthMm)) {
            Fail("a page line that is not finite");
        }
        if (!onIt(line.Start) || !onIt(line.End)) {
            Fail("a sheet line off its paper");
        }
    }
    for (const dieprofile::PageOutline& outline : page.Outlines) {
        for (const Point corner : outline.Corners) {
            if (!Finite(corner) || !onIt(corner)) {
                Fail("an outline corner not finite or off its paper");
            }
        }
    }
    for (const dieprofile::PageText& text : page.Texts) {
        if (!Finite(text.At) || !std::isfinite(text.HeightMm) || !std::isfinite(text.AngleDeg)) {
            Fail("a page text that is not finite");
        }
    }
}

// The design opened as the window opens it, then every export laid out as the command line's
// would be, short of painting and writing the file.
void CheckExports(const dieprofile::Design& design) {
    using namespace dieprofile;
    HeadlessToolkit toolkit;
    Form1Model model(toolkit);
    toolkit.Attach(model);
    model.Form_Load();
    if (!model.ApplyDesign(design) || !model.LastCalculation()) {
        return; // refused as the window refuses it: nothing to export
    }
    const auto attempt = [&](const char* path, std::optional<OverlayOptions> chart, bool sheet) {
        ExportRequest request;
        request.Path = path;
        request.DesignName = "fuzz.dieprofile";
        request.Chart = chart;
        request.Date = "2026-12-09";
        const Expected<LaidOutExport, ExportRefusal> laidOut = LayOutExport(model, request);
        if (!laidOut) {
            if (laidOut.Error().Message.empty()) {
                Fail("an export refused without a reason");
            }
            return;
        }
        const LaidOutExport& made = *laidOut;
        if (made.Dxf.size() > kMaxDxfBytes) {
            Fail("a DXF laid out without bound");
        }
        if (made.Dxf.find("nan") != std::string::npos ||
            made.Dxf.find("inf") != std::string::npos) {
            Fail("a DXF with a number that is not finite");
        }
        for (const Page& page : made.Pages) {
            CheckPage(page, sheet);
        }
    };
    attempt("sheet.pdf", std::nullopt, true);
    attempt("die.dxf", std::nullopt, false);
    attempt("chart.pdf", OverlayOptions{}, false);
    attempt("chart_section.pdf", OverlayOptions{1, 0, OverlayView::Section}, false);
}

// A blank of one's own of the given diameter and height in millimetres, the wires in the
// default's proportion.
std::string OwnBlankDesign(double size) {
    const auto text = [](double value) {
        std::array<char, 32> digits{};
        std::snprintf(digits.data(), digits.size(), "%.17g", value);
        return std::string(digits.data());
    };
    return R"({"format": "dieprofile-design", "version": 1, "unit": "mm", "blank": "BLANK",
        "fields": {"outletDiameter": ")" +
           text(size / 15) + R"(", "incomingDiameter": ")" + text(size * 11 / 90) +
           R"(", "reductionAngle": "12", "bearingLength": "50", "entranceLength": "30",
        "entranceAngle": "50", "exitLength": "20", "exitAngle": "50", "diamondDiameter": ")" +
           text(size) + R"(", "diamondHeight": ")" + text(size) + R"("}})";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = dieprofile::DesignFromText(bytes);
    if (!read) {
        if (read.Error().Message.empty()) {
            Fail("a refusal without a reason");
        }
        return 0;
    }
    const dieprofile::Design* design = &*read;
    if (design->Unit != "in" && design->Unit != "mm") {
        Fail("a unit other than in or mm");
    }
    for (const std::string& text : design->FieldTexts) {
        if (text.size() > 4 * dieprofile::kMaxDesignFieldCharacters) {
            Fail("an overlong field text");
        }
        for (char c : text) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                Fail("a control character in a field text");
            }
        }
    }
    const auto again = dieprofile::DesignFromText(dieprofile::DesignToText(*design));
    if (!again || !(*again == *design)) {
        Fail("a design written out does not read back the same");
    }
    CheckExports(*design);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (const dieprofile::WorstDesign& shape : dieprofile::WorstDesigns()) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(shape.Bytes.data()),
                               shape.Bytes.size());
    }
    for (const double size : {6e4, 6e12, 1e300, 1e-300, 30.0, 1e-6, 762.0}) {
        const std::string bytes = OwnBlankDesign(size);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    return 0;
}
