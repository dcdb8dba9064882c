// The window's shared state: the unit in force, the blank, the wire and bore inputs, and the
// drawing's fixed references. Lengths are in the unit shown; angles are included angles in degrees.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <variant>

namespace dieprofile {

struct ProfileState {
    double UnitDivisor = 0;
    double DiamondDiameter = 0;
    double DiamondHeight = 0;
    double DrawScale = 0;
    double OutletDiameter = 0;
    double IncomingDiameter = 0;
    double BearingLength = 0;
    double EntranceLength = 0;
    double ExitLength = 0;
    double ReductionLength = 0;
    double EntranceAngle = 0;
    double ReductionAngle = 0;
    double ExitAngle = 0;
    std::int32_t CentreX = 0;
    std::int32_t DieBaseY = 0;
    double PiValue = 0;

    bool operator==(const ProfileState&) const = default;
};

struct ProfileStateMember {
    std::string_view Name;
    std::variant<double ProfileState::*, std::int32_t ProfileState::*> Member;
};

// Every member in the order the state is documented and dumped.
inline const std::array<ProfileStateMember, 16>& ProfileStateMembers() {
    static const std::array<ProfileStateMember, 16> kMembers{{
        {"UnitDivisor", &ProfileState::UnitDivisor},
        {"DiamondDiameter", &ProfileState::DiamondDiameter},
        {"DiamondHeight", &ProfileState::DiamondHeight},
        {"DrawScale", &ProfileState::DrawScale},
        {"OutletDiameter", &ProfileState::OutletDiameter},
        {"IncomingDiameter", &ProfileState::IncomingDiameter},
        {"BearingLength", &ProfileState::BearingLength},
        {"EntranceLength", &ProfileState::EntranceLength},
        {"ExitLength", &ProfileState::ExitLength},
        {"ReductionLength", &ProfileState::ReductionLength},
        {"EntranceAngle", &ProfileState::EntranceAngle},
        {"ReductionAngle", &ProfileState::ReductionAngle},
        {"ExitAngle", &ProfileState::ExitAngle},
        {"CentreX", &ProfileState::CentreX},
        {"DieBaseY", &ProfileState::DieBaseY},
        {"PiValue", &ProfileState::PiValue},
    }};
    return kMembers;
}

} // namespace dieprofile
