// The window's controls that the handlers address by name, and the order the focus moves in.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace dieprofile {

enum class ControlId {
    None,
    Combo1,
    Text1_0,
    Text1_1,
    Text1_2,
    Text1_3,
    Text1_4,
    Text1_5,
    Text1_6,
    Text1_7,
    Text1_8,
    Text1_10,
    Text2,
    Text3,
    Command1,
    Command2,
    Option1_0,
    Option1_1,
};

// The indices of the Text1 array in index order; there is no Text1(9).
inline constexpr std::array<int, 10> kText1Indices{0, 1, 2, 3, 4, 5, 6, 7, 8, 10};

bool IsText1Index(int index);
// Text1(index) as a control, or None where the array has no such element.
ControlId Text1Control(int index);
// The Text1 index of a control, if it is one of the array.
std::optional<int> Text1Index(ControlId control);

// "Text1(0)", "Combo1", ... as the window names them.
std::string_view ControlName(ControlId control);

// Tab order of the window; hidden controls are skipped when the focus moves on.
const std::array<ControlId, 17>& TabOrder();

} // namespace dieprofile
