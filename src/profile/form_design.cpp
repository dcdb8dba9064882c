#include "profile/form_design.h"

#include <array>
#include <cstdlib>

namespace dieprofile {

namespace {

constexpr FontDesign kDefaultFont{};
constexpr FontDesign kSans{Typeface::SansSerif, 9.75, false};
constexpr FontDesign kSansBold{Typeface::SansSerif, 9.75, true};
constexpr FontDesign kSansTitle{Typeface::SansSerif, 12, true};
constexpr FontDesign kCourier{Typeface::Courier, 9.75, false};

constexpr auto L = LabelAlignment::Left;
constexpr auto C = LabelAlignment::Centre;

using K = ControlKind;
using Id = ControlId;

// Banner: the maker, the address and the contact lines. The blanks after each tag bring the
// values of the contact lines near one column in the banner's bold face; the window draws each
// value at one x (ContactLines).
constexpr std::array kControls{
    ControlDesign{"Label12(0)", Id::None, K::Label, false, 8880, 600, 3375, 255, "Varnholt",
                  kSansTitle, C, false, ""},
    ControlDesign{"Label12(1)", Id::None, K::Label, false, 9120, 960, 3015, 495,
                  "Unit 7, Drawbench Lane, Millbrook Park, Sheffield S9 2QT", kSansBold, C, false,
                  ""},
    ControlDesign{"Label12(3)", Id::None, K::Label, false, 8880, 1680, 2535, 255,
                  "Tel:      0114 496 0812", kSansBold, L, false, ""},
    ControlDesign{"Label12(6)", Id::None, K::Label, false, 8880, 1920, 2535, 255,
                  "Fax:     0114 496 0813", kSansBold, L, false, ""},
    ControlDesign{"Label12(4)", Id::None, K::Label, false, 8880, 2160, 3615, 255,
                  "E-mail: dies@varnholt.example", kSansBold, L, false, ""},
    ControlDesign{"Label12(5)", Id::None, K::Label, false, 8880, 2400, 3495, 255,
                  "Web:    www.varnholt.example", kSansBold, L, false, ""},

    ControlDesign{"Label1(0)", Id::None, K::Label, false, 8040, 3360, 1935, 255, "Wire Die Blank",
                  kSans, L, false, ""},
    ControlDesign{"Combo1", Id::Combo1, K::DropDownList, false, 8040, 3720, 4455, 315, "", kCourier,
                  L, false, "Label1(0)"},
    ControlDesign{"Option1(0)", Id::Option1_0, K::OptionButton, false, 12720, 3600, 735, 255, "in",
                  kDefaultFont, L, false, ""},
    ControlDesign{"Option1(1)", Id::Option1_1, K::OptionButton, false, 12720, 3840, 735, 255, "mm",
                  kDefaultFont, L, false, ""},

    // Input rows: the field, then its caption to the right.
    ControlDesign{"Text1(5)", Id::Text1_5, K::TextField, false, 8400, 4320, 1335, 375, "0.180",
                  kCourier, L, false, "Label1(6)"},
    ControlDesign{"Label1(6)", Id::None, K::Label, false, 9840, 4320, 1455, 255, "Diamond Height",
                  kDefaultFont, L, false, ""},
    ControlDesign{"Text1(10)", Id::Text1_10, K::TextField, false, 8400, 4800, 1335, 375, "0.180",
                  kCourier, L, false, "Label1(11)"},
    ControlDesign{"Label1(11)", Id::None, K::Label, false, 9840, 4800, 1455, 255,
                  "Diamond Diameter", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(0)", Id::Text1_0, K::TextField, false, 8400, 5280, 1335, 375, "0.012",
                  kCourier, L, false, "Label1(2)"},
    ControlDesign{"Label1(2)", Id::None, K::Label, false, 9840, 5280, 1815, 255,
                  "Outlet Wire Diameter", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(1)", Id::Text1_1, K::TextField, false, 8400, 5760, 1335, 375, "0.022",
                  kCourier, L, false, "Label1(1)"},
    ControlDesign{"Label1(1)", Id::None, K::Label, false, 9840, 5760, 2055, 255,
                  "Incoming Wire Diameter", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(2)", Id::Text1_2, K::TextField, false, 8400, 6240, 1335, 375, "25.0",
                  kCourier, L, false, "Label1(3)"},
    ControlDesign{"Label1(3)", Id::None, K::Label, false, 9840, 6240, 2175, 255,
                  "Reduction Angle (degrees)", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(3)", Id::Text1_3, K::TextField, false, 8400, 6720, 1335, 375, "50.0",
                  kCourier, L, false, "Label1(4)"},
    ControlDesign{"Label1(4)", Id::None, K::Label, false, 9840, 6720, 1935, 255,
                  "Bearing Length (%)", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(4)", Id::Text1_4, K::TextField, false, 8400, 7200, 1335, 375, "30.0",
                  kCourier, L, false, "Label1(5)"},
    ControlDesign{"Label1(5)", Id::None, K::Label, false, 9840, 7200, 2415, 255,
                  "Entrance Length (% of Height)", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(8)", Id::Text1_8, K::TextField, false, 8400, 7680, 1335, 375, "50.0",
                  kCourier, L, false, "Label1(9)"},
    ControlDesign{"Label1(9)", Id::None, K::Label, false, 9840, 7680, 2055, 255,
                  "Entrance Angle (degrees)", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(6)", Id::Text1_6, K::TextField, false, 8400, 8160, 1335, 375, "20.0",
                  kCourier, L, false, "Label1(7)"},
    ControlDesign{"Label1(7)", Id::None, K::Label, false, 9840, 8160, 1935, 255,
                  "Exit Length (% of Height)", kDefaultFont, L, false, ""},
    ControlDesign{"Text1(7)", Id::Text1_7, K::TextField, false, 8400, 8640, 1335, 375, "50.0",
                  kCourier, L, false, "Label1(8)"},
    ControlDesign{"Label1(8)", Id::None, K::Label, false, 9840, 8640, 1575, 255,
                  "Exit Angle (degrees)", kDefaultFont, L, false, ""},

    // Results and buttons.
    ControlDesign{"Label12(7)", Id::None, K::Label, false, 12120, 5520, 1335, 255, "Delta Value",
                  kSansBold, L, false, ""},
    ControlDesign{"Text3", Id::Text3, K::TextField, true, 12600, 5880, 975, 495, "0.00",
                  kDefaultFont, L, true, "Label12(7)"},
    ControlDesign{"Label12(8)", Id::None, K::Label, false, 12120, 6480, 1455, 495,
                  "% Area Reduction", kSansBold, L, false, ""},
    ControlDesign{"Text2", Id::Text2, K::TextField, false, 12240, 7080, 975, 495, "0.00",
                  kDefaultFont, L, true, "Label12(8)"},
    ControlDesign{"Command1", Id::Command1, K::PushButton, false, 12120, 7800, 1215, 495,
                  "Calculate", kSansBold, C, false, ""},
    ControlDesign{"Command2", Id::Command2, K::PushButton, false, 12120, 8400, 1215, 495, "Print",
                  kSansBold, C, false, ""},
};

constexpr std::array<std::string_view, 4> kContactLines{"Label12(3)", "Label12(6)", "Label12(4)",
                                                        "Label12(5)"};

constexpr std::array kDecoration{
    DecorationSegment{"Line41", 240, 240, 13680, 240, 4},
    DecorationSegment{"Line50", 13680, 9120, 240, 9120, 4},
    DecorationSegment{"Line46", 240, 240, 240, 9120, 4},
    DecorationSegment{"Line47", 13680, 240, 13680, 9120, 4},
    DecorationSegment{"Line26", 7680, 240, 7680, 9120, 4},
    DecorationSegment{"Line34", 8520, 480, 12720, 480, 4},
    DecorationSegment{"Line35", 8520, 2760, 12720, 2760, 4},
    DecorationSegment{"Line40", 8520, 480, 8520, 2760, 4},
    DecorationSegment{"Line37", 12720, 480, 12720, 2760, 4},
    DecorationSegment{"Line36", 8520, 1560, 12720, 1560, 1},
};

} // namespace

std::span<const ControlDesign> FormControls() {
    return kControls;
}

const ControlDesign& ControlDesignOf(std::string_view name) {
    for (const ControlDesign& control : kControls) {
        if (control.Name == name) {
            return control;
        }
    }
    std::abort(); // a name outside the design table is a programming error
}

const ControlDesign& ControlDesignOf(ControlId id) {
    return ControlDesignOf(ControlName(id));
}

std::span<const std::string_view> ContactLines() {
    return kContactLines;
}

std::string_view Text1Caption(int index) {
    const ControlId control = Text1Control(index);
    return control == ControlId::None ? std::string_view{}
                                      : ControlDesignOf(ControlDesignOf(control).Buddy).Text;
}

std::span<const DecorationSegment> DecorationSegments() {
    return kDecoration;
}

} // namespace dieprofile
