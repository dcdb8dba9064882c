// The design file: what the user typed and chose in the window (the unit, the blank row, the text
// of every input field), never a computed figure, as a small JSON text. Reading is strict: any file
// that is not exactly a design of a version this program knows is refused with the reason.
#pragma once

#include "core/expected.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace dieprofile {

inline constexpr std::string_view kDesignFormat = "dieprofile-design";
inline constexpr int kDesignVersion = 2;
// The first version that may name the drawing; a design that does not is still written as 1.
inline constexpr int kDesignIdentityVersion = 2;
inline constexpr std::string_view kDesignExtension = ".dieprofile";
inline constexpr std::size_t kMaxDesignFileBytes = std::size_t{1024} * 1024;
inline constexpr std::size_t kMaxDesignFieldCharacters = 1000;

// An input field's key in the file and the window's field it holds.
struct DesignFieldKey {
    std::string_view Key;
    int Text1Index;
};

// The order the file lists them in: the wire, the bore from the top down, then the blank.
inline constexpr std::array<DesignFieldKey, 10> kDesignFields{{
    {"outletDiameter", 0},
    {"incomingDiameter", 1},
    {"reductionAngle", 2},
    {"bearingLength", 3},
    {"entranceLength", 4},
    {"entranceAngle", 8},
    {"exitLength", 6},
    {"exitAngle", 7},
    {"diamondDiameter", 10},
    {"diamondHeight", 5},
}};

// What the drawing of a design is called on its sheet, and the tolerance its bearing is made to
// (as typed, with its unit: "+0.0002/-0 in"); each may be empty.
struct DrawingIdentity {
    std::string Number;
    std::string Title;
    std::string Revision;
    std::string BearingTolerance{};
    bool Empty() const {
        return Number.empty() && Title.empty() && Revision.empty() && BearingTolerance.empty();
    }
    bool operator==(const DrawingIdentity&) const = default;
};

// The optional keys that hold it, from kDesignIdentityVersion on.
inline constexpr std::array<std::pair<std::string_view, std::string DrawingIdentity::*>, 4>
    kDrawingIdentityKeys{{{"drawingNumber", &DrawingIdentity::Number},
                          {"title", &DrawingIdentity::Title},
                          {"revision", &DrawingIdentity::Revision},
                          {"bearingTolerance", &DrawingIdentity::BearingTolerance}}};

// How a drawing names its design (in the DXF's DESIGN: text, in the chart's footer): "D-1234
// Copper die, rev. B (copper.dieprofile)"; the file's name alone when the design has no identity,
// empty when it has neither.
std::string DesignLine(std::string_view designName, const DrawingIdentity& identity);

struct Design {
    std::string Unit;                       // "in" or "mm"
    std::string Blank;                      // a catalogue row's text, or "BLANK"
    std::array<std::string, 10> FieldTexts; // in the order of kDesignFields
    DrawingIdentity Identity;
    bool operator==(const Design&) const = default;
};

// The file's text: UTF-8 JSON, keys in a fixed order, ending with a newline; version 1 unless the
// design names its drawing, so that an older program still opens what it can read.
std::string DesignToText(const Design& design);

// The design in bytes, or what is wrong with them (a phrase such as `the key "unit" is missing`).
// Checks the form only; whether the blank is a catalogue row is for the caller, who has the
// catalogue.
Expected<Design> DesignFromText(std::string_view bytes);

// Reads the file at path (at most kMaxDesignFileBytes) and then as DesignFromText.
Expected<Design> ReadDesignFile(const std::string& path);

// The file's name without its folders, as messages name it.
std::string DesignFileName(const std::string& path);

} // namespace dieprofile
