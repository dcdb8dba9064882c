#include "core/controls.h"

namespace dieprofile {

namespace {

constexpr std::array<ControlId, 11> kText1ByIndex{
    ControlId::Text1_0, ControlId::Text1_1, ControlId::Text1_2,  ControlId::Text1_3,
    ControlId::Text1_4, ControlId::Text1_5, ControlId::Text1_6,  ControlId::Text1_7,
    ControlId::Text1_8, ControlId::None,    ControlId::Text1_10,
};

constexpr std::array<ControlId, 17> kTabOrder{
    ControlId::Combo1,   ControlId::Text1_5,   ControlId::Text1_10,  ControlId::Text1_0,
    ControlId::Text1_1,  ControlId::Text1_2,   ControlId::Text1_3,   ControlId::Text1_4,
    ControlId::Text1_8,  ControlId::Text1_6,   ControlId::Text1_7,   ControlId::Command1,
    ControlId::Command2, ControlId::Option1_0, ControlId::Option1_1, ControlId::Text2,
    ControlId::Text3,
};

} // namespace

bool IsText1Index(int index) {
    return index >= 0 && index <= 10 && index != 9;
}

ControlId Text1Control(int index) {
    return IsText1Index(index) ? kText1ByIndex[static_cast<std::size_t>(index)] : ControlId::None;
}

std::optional<int> Text1Index(ControlId control) {
    for (int index : kText1Indices) {
        if (kText1ByIndex[static_cast<std::size_t>(index)] == control) {
            return index;
        }
    }
    return std::nullopt;
}

std::string_view ControlName(ControlId control) {
    switch (control) {
    case ControlId::None:
        return "None";
    case ControlId::Combo1:
        return "Combo1";
    case ControlId::Text1_0:
        return "Text1(0)";
    case ControlId::Text1_1:
        return "Text1(1)";
    case ControlId::Text1_2:
        return "Text1(2)";
    case ControlId::Text1_3:
        return "Text1(3)";
    case ControlId::Text1_4:
        return "Text1(4)";
    case ControlId::Text1_5:
        return "Text1(5)";
    case ControlId::Text1_6:
        return "Text1(6)";
    case ControlId::Text1_7:
        return "Text1(7)";
    case ControlId::Text1_8:
        return "Text1(8)";
    case ControlId::Text1_10:
        return "Text1(10)";
    case ControlId::Text2:
        return "Text2";
    case ControlId::Text3:
        return "Text3";
    case ControlId::Command1:
        return "Command1";
    case ControlId::Command2:
        return "Command2";
    case ControlId::Option1_0:
        return "Option1(0)";
    case ControlId::Option1_1:
        return "Option1(1)";
    }
    return "None";
}

const std::array<ControlId, 17>& TabOrder() {
    return kTabOrder;
}

} // namespace dieprofile
