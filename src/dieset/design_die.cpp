#include "dieset/design_die.h"

#include "catalogue/catalogue.h"
#include "core/message_text.h"
#include "core/units.h"

namespace dieprofile {

Expected<TypedDie> TypedDieOf(const Design& design) {
    if (!FindCatalogueRow(design.Blank)) {
        return Refusal{"the blank " + QuotedForMessage(design.Blank) + " is not in the catalogue"};
    }
    TypedDie die;
    die.UnitDivisor = UnitDivisorOf(design.Unit);
    die.Blank = design.Blank;
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        die.FieldTexts.at(static_cast<std::size_t>(kDesignFields[i].Text1Index)) =
            design.FieldTexts[i];
    }
    // A catalogue row fills the diamond fields with its own dimensions, whatever the design held.
    if (const std::optional<BlankInUnit> blank = ReadBlank(design.Blank, die.UnitDivisor)) {
        die.FieldTexts[10] = blank->DiameterText;
        die.FieldTexts[5] = blank->HeightText;
    }
    return die;
}

Expected<Calculation, CalculateRefusal> CalculateDesign(const Design& design) {
    Expected<TypedDie> die = TypedDieOf(design);
    if (!die) {
        return CalculateRefusal{die.Error().Message, {}};
    }
    return Calculate(*die);
}

} // namespace dieprofile
