// The die set the model tests start from: the documented example, six equal passes of annealed
// copper from 2 mm to 1 mm through dies of a 16° reduction angle on a blank of one's own.
#pragma once

#include "output/set_file.h"

namespace dieprofile::testing {

inline DieSetFile CopperSet() {
    DieSetFile set;
    set.Unit = "mm";
    set.StartDiameter = "2.0";
    set.FinishDiameter = "1.0";
    set.Schedule = ScheduleKind::Equal;
    set.Dies = "6";
    set.MaterialName = "Copper, annealed";
    set.StrengthCoefficient = "315";
    set.HardeningExponent = "0.54";
    set.Density = "8960";
    set.SpecificHeat = "385";
    set.Friction = "0.08";
    set.FinishSpeed = "10";
    set.Blank = "BLANK";
    set.DieFieldTexts = {"16", "50", "30", "50", "20", "50", "6", "4"};
    return set;
}

} // namespace dieprofile::testing
