// Open and Save of a design file. Open replays the file's inputs through the handlers as a user
// would and then calculates, so the drawing, its labels and the results always come from the same
// code as a click on Calculate.
#include "app/form_model.h"
#include "catalogue/catalogue.h"
#include "core/message_text.h"
#include "core/units.h"
#include "output/atomic_file.h"

#include <variant>

namespace dieprofile {

namespace {

std::string DesignFileRefusal(std::string_view action, const std::string& path,
                              std::string_view reason) {
    return "Cannot " + std::string(action) + " the design " +
           QuotedForMessage(DesignFileName(path)) + ": " + std::string(reason) + ".";
}

// The design a Calculate drew, as the window held it then, without its identity.
Design DesignDrawn(const CalculatedDrawing& drawn) {
    Design design;
    design.Unit = UnitSymbol(drawn.UnitDivisor);
    design.Blank = drawn.Blank.empty() ? std::string(kCustomBlankRow) : drawn.Blank;
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        design.FieldTexts[i] =
            drawn.FieldTexts.at(static_cast<std::size_t>(kDesignFields[i].Text1Index));
    }
    return design;
}

} // namespace

void Form1Model::SetIdentity(DrawingIdentity identity) {
    identity_ = std::move(identity);
    Design owner = lastCalculation_ ? DesignDrawn(*lastCalculation_) : CurrentDesign();
    owner.Identity = {};
    identityOwner_ = std::move(owner);
}

DrawingIdentity Form1Model::SheetIdentity() const {
    if (!lastCalculation_ || !identityOwner_ || DesignDrawn(*lastCalculation_) != *identityOwner_) {
        return {};
    }
    return identity_;
}

Design Form1Model::CurrentDesign() const {
    Design design;
    design.Unit = optionIndex_ == 0 ? "in" : "mm";
    const auto rows = CatalogueRows();
    design.Blank = comboRow_ >= 1 && comboRow_ <= static_cast<int>(rows.size())
                       ? std::string(rows[static_cast<std::size_t>(comboRow_ - 1)])
                       : std::string(kCustomBlankRow);
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        design.FieldTexts[i] = Text1(kDesignFields[i].Text1Index).Text;
    }
    design.Identity = identity_;
    return design;
}

Design Form1Model::DrawnDesign() const {
    if (!lastCalculation_) {
        return CurrentDesign();
    }
    Design design = DesignDrawn(*lastCalculation_);
    design.Identity = SheetIdentity();
    return design;
}

std::string Form1Model::DesignName() const {
    return designPath_.empty() ? std::string() : DesignFileName(designPath_);
}

std::string Form1Model::DrawingDesignName() const {
    if (designPath_.empty() || !fileDesign_) {
        return {};
    }
    const Design& file = *fileDesign_;
    bool same = lastCalculation_ && UnitSymbol(lastCalculation_->UnitDivisor) == file.Unit &&
                lastCalculation_->Blank == file.Blank;
    for (std::size_t i = 0; same && i < kDesignFields.size(); ++i) {
        const auto index = static_cast<std::size_t>(kDesignFields[i].Text1Index);
        same = lastCalculation_->FieldTexts.at(index) == file.FieldTexts[i];
    }
    return same ? DesignName() : std::string("(changed since saved)");
}

bool Form1Model::HasUnsavedChanges() const {
    return fileDesign_ && CurrentDesign() != *fileDesign_;
}

bool Form1Model::SaveDesign(const std::string& path) {
    const Design design = CurrentDesign();
    const std::string text = DesignToText(design);
    // A field the reader would refuse (a control character, an overlong text) is refused here,
    // so that no file is written that cannot be opened again, nor one that opens differently
    // (bytes that are not UTF-8, which the writer would have to replace).
    const Expected<Design> check = DesignFromText(text);
    if (!check) {
        UI().ShowMessage(DesignFileRefusal("save", path, check.Error().Message));
        return false;
    }
    if (*check != design) {
        UI().ShowMessage(DesignFileRefusal("save", path, "a field's text is not UTF-8 text"));
        return false;
    }
    if (const Expected<void> written = WriteFileAtomically(path, text); !written) {
        UI().ShowMessage(DesignFileRefusal("save", path, written.Error().Message));
        return false;
    }
    designPath_ = path;
    fileDesign_ = design;
    origin_.clear();
    identityOwner_ = design;
    identityOwner_->Identity = {};
    return true;
}

bool Form1Model::OpenDesign(const std::string& path) {
    const Expected<Design> read = ReadDesignFile(path);
    if (!read) {
        UI().ShowMessage(DesignFileRefusal("open", path, read.Error().Message));
        return false;
    }
    if (const Expected<void> applied = ApplyDesign(*read); !applied) {
        UI().ShowMessage(DesignFileRefusal("open", path, applied.Error().Message));
        return false;
    }
    designPath_ = path;
    origin_.clear();
    // As the window holds it: a catalogue blank's own dimensions stand in the hidden fields,
    // whatever the file held there.
    fileDesign_ = CurrentDesign();
    return true;
}

Expected<void> Form1Model::ApplyAsNewDesign(const Design& design, std::string origin) {
    Design fresh = design;
    fresh.Identity = {};
    if (Expected<void> applied = ApplyDesign(fresh); !applied) {
        return applied;
    }
    designPath_.clear();
    fileDesign_.reset();
    origin_ = std::move(origin);
    return Done{};
}

Expected<void> Form1Model::ApplyDesign(const Design& design) {
    const std::optional<int> row = FindCatalogueRow(design.Blank);
    if (!row) {
        return Refusal{"the blank " + QuotedForMessage(design.Blank) + " is not in the catalogue"};
    }

    // Everything is checked; from here on the window changes. The design's wire diameters are in
    // its unit, so the unit is set without converting the texts the window holds now (which may
    // not even be numbers): they are all replaced below.
    const auto option = static_cast<std::int16_t>(design.Unit == "in" ? 0 : 1);
    if (option != optionIndex_) {
        SetUnit(option);
    }
    PickRow(*row);
    // A catalogue row has just filled the diamond fields and hidden them; only the custom blank's
    // diamond fields take the design's texts.
    for (std::size_t i = 0; i < kDesignFields.size(); ++i) {
        const ControlId control = Text1Control(kDesignFields[i].Text1Index);
        if (IsVisible(control)) {
            ReplaceText(control, design.FieldTexts[i]);
        }
    }
    identity_ = design.Identity;
    Command1_Click();
    identityOwner_ = CurrentDesign();
    identityOwner_->Identity = {};
    return Done{};
}

} // namespace dieprofile
