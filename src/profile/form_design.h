// The window as designed: every control's place in twips, its caption or initial text and font,
// and the static frame lines. The Qt window is built from these tables and the model takes its
// initial texts from them.
#pragma once

#include "core/controls.h"
#include "profile/drawing_scene.h"

#include <span>
#include <string_view>

namespace dieprofile {

inline constexpr int kTwipsPerPixel = 15;

struct WindowDesign {
    std::string_view Caption = "Varnholt  - Quillmark";
    int ClientWidth = 14460;
    int ClientHeight = 10380;
    // The caption-less panel z that holds the drawing and nearly every control, in window twips.
    int PanelLeft = 360;
    int PanelTop = 0;
    int PanelWidth = 13935;
    int PanelHeight = 10215;
};
inline constexpr WindowDesign kWindow{};

enum class ControlKind { Label, TextField, DropDownList, OptionButton, PushButton };

// The two typefaces the design names, and the window's default user-interface font.
enum class Typeface { Default, SansSerif, Courier };

struct FontDesign {
    Typeface Face = Typeface::Default;
    double Points = 8.25;
    bool Bold = false;
};

struct ControlDesign {
    std::string_view Name;
    ControlId Id; // None for labels that nothing addresses
    ControlKind Kind;
    bool InWindow; // a child of the window itself, drawn above the panel, instead of the panel
    int Left;
    int Top;
    int Width;
    int Height;
    std::string_view Text; // caption or initial text
    FontDesign Font;
    LabelAlignment Alignment;
    bool Shaded;            // the result fields' mid-grey background
    std::string_view Buddy; // the label that names this control, if any
};

std::span<const ControlDesign> FormControls();
// The design of the named control; every name used by the program is in the table.
const ControlDesign& ControlDesignOf(std::string_view name);
const ControlDesign& ControlDesignOf(ControlId id);

// The banner's contact lines (Label12(3) to Label12(6)): a tag, a colon and a value, padded with
// blanks so that the values start in one column.
std::span<const std::string_view> ContactLines();

// The caption of a Text1 field's row (its buddy label), the words a message about that field uses;
// empty where the array has no such element.
std::string_view Text1Caption(int index);

struct DecorationSegment {
    std::string_view Name;
    int X1;
    int Y1;
    int X2;
    int Y2;
    int WidthPixels;
};

// The outer border, the divider and the banner box: fixed lines of the panel, not of the drawing.
std::span<const DecorationSegment> DecorationSegments();

} // namespace dieprofile
