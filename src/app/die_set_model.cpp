#include "app/die_set_model.h"

#include "app/form_model.h"
#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "core/units.h"
#include "profile/form_design.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace dieprofile {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::string_view kBlankKey = "blank";
constexpr int kDiamondDiameterText1 = 10;

bool IsMaterialValue(DieSetField field) {
    return field == DieSetField::StrengthCoefficient || field == DieSetField::HardeningExponent ||
           field == DieSetField::Density || field == DieSetField::SpecificHeat;
}

} // namespace

bool IsList(DieSetField field) {
    return field == DieSetField::Outlets || field == DieSetField::RoundingSizes;
}

std::vector<std::string> SplitOutlets(std::string_view text) {
    std::vector<std::string> outlets;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(" \t\n\r\f\v,;", start);
        // A comma between two digits is a decimal comma, not a gap: the outlet keeps it and is
        // refused as such.
        while (end != std::string_view::npos && text[end] == ',' && end > start &&
               end + 1 < text.size() && IsDigit(text[end - 1]) && IsDigit(text[end + 1])) {
            end = text.find_first_of(" \t\n\r\f\v,;", end + 1);
        }
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start) {
            outlets.emplace_back(text.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return outlets;
}

ScreenRect PlaceBeside(const ScreenRect& anchor, const ScreenRect& available, int wantedWidth,
                       int wantedHeight, int leastWidth) {
    constexpr int kGap = 8;
    const int right = available.Left + available.Width;
    const int bottom = available.Top + available.Height;
    const int roomRight = right - (anchor.Left + anchor.Width + kGap);
    const int roomLeft = anchor.Left - kGap - available.Left;
    const bool onRight = roomRight >= std::min(wantedWidth, roomLeft);
    const int room = std::max(onRight ? roomRight : roomLeft, 0);
    ScreenRect placed;
    placed.Width = std::min(std::max(std::min(wantedWidth, room), leastWidth), available.Width);
    placed.Height = std::min(wantedHeight, available.Height);
    if (room >= placed.Width) {
        placed.Left =
            onRight ? anchor.Left + anchor.Width + kGap : anchor.Left - kGap - placed.Width;
    } else {
        placed.Left = onRight ? right - placed.Width : available.Left;
    }
    placed.Top =
        std::clamp(anchor.Top, available.Top, std::max(bottom - placed.Height, available.Top));
    return placed;
}

void DieSetModel::Begin(DieSetFile set) {
    set_ = std::move(set);
    unchanged_ = set_;
    lastGood_.reset();
    Recompute();
}

void DieSetModel::StartFrom(const Design& design) {
    Start(DieSetFromDesign(design));
}

void DieSetModel::Start(DieSetFile set) {
    Begin(std::move(set));
    path_.clear();
}

bool DieSetModel::Open(const std::string& path) {
    Expected<DieSetFile> opened = OpenDieSet(path);
    if (!opened) {
        toolkit_.ShowMessage(opened.Error().Message);
        return false;
    }
    Begin(std::move(*opened));
    path_ = path;
    return true;
}

bool DieSetModel::Save(const std::string& path) {
    if (!set_) {
        return false;
    }
    if (const Expected<void> saved = SaveDieSet(*set_, path); !saved) {
        toolkit_.ShowMessage(saved.Error().Message);
        return false;
    }
    path_ = path;
    unchanged_ = set_;
    return true;
}

bool DieSetModel::Export(const std::string& path, DieSetExportFormat format,
                         ExportPainters* painters, Paper paper, const SheetDetails& details) {
    if (!set_) {
        return false;
    }
    DieSetExportRequest request;
    request.Path = path;
    request.SetPath = path_;
    request.Format = format;
    request.Caution = Caution().value_or(kDefaultCautionRatio);
    request.SheetPaper = paper;
    request.Details = details;
    const Expected<void, ExportRefusal> exported = ExportDieSet(*set_, request, painters);
    if (!exported) {
        toolkit_.ShowMessage(exported.Error().Message);
    }
    return exported.HasValue();
}

void DieSetModel::Close() {
    set_.reset();
    unchanged_.reset();
    refused_.reset();
    lastGood_.reset();
    path_.clear();
}

bool DieSetModel::Type(std::string_view key, std::string text) {
    if (key == "caution") {
        cautionText_ = std::move(text);
        return true;
    }
    const DieSetFieldEntry* entry = DieSetFieldOf(key);
    if (!set_ || entry == nullptr || (entry->Text == nullptr && !IsList(entry->Field))) {
        return false;
    }
    if (entry->Field == DieSetField::Outlets) {
        set_->Outlets = SplitOutlets(text);
    } else if (entry->Field == DieSetField::RoundingSizes) {
        set_->RoundingSizes = SplitOutlets(text);
    } else {
        (*set_).*(entry->Text) = std::move(text);
    }
    if (IsMaterialValue(entry->Field)) {
        set_->MaterialName.clear();
    }
    Recompute();
    return true;
}

void DieSetModel::ChooseSchedule(ScheduleKind kind) {
    if (!set_) {
        return;
    }
    set_->Schedule = kind;
    Recompute();
}

void DieSetModel::ChooseRounding(RoundingKind kind) {
    if (!set_) {
        return;
    }
    set_->Rounding = kind;
    Recompute();
}

void DieSetModel::ChooseMaterial(std::string_view name) {
    if (!set_) {
        return;
    }
    const auto presets = WireMaterials();
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [name](const WireMaterial& m) { return m.Name == name; });
    if (found == presets.end()) {
        set_->MaterialName.clear();
    } else {
        ApplyMaterial(*found, *set_);
    }
    Recompute();
}

bool DieSetModel::HasPass(int pass) {
    if (!lastGood_ || pass < 1 || pass > static_cast<int>(lastGood_->Passes.size())) {
        toolkit_.ShowMessage(lastGood_ || !refused_
                                 ? "The set has no pass " + std::to_string(pass) + "."
                                 : refused_->Message);
        return false;
    }
    return true;
}

bool DieSetModel::InCatalogue(const std::string& blank) {
    if (!FindCatalogueRow(blank)) {
        toolkit_.ShowMessage("The blank \"" + blank + "\" is not in the catalogue.");
        return false;
    }
    return true;
}

bool DieSetModel::SetPassProfile(int pass, const OwnFieldTexts& texts,
                                 const std::optional<std::string>& blank) {
    if (!HasPass(pass)) {
        return false;
    }
    if (blank && !InCatalogue(*blank)) {
        return false;
    }
    OwnFieldTexts kept = texts;
    if (blank.value_or(set_->Blank) != kCustomBlankRow) {
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (IsDiamondField(i)) {
                kept[i].reset();
            }
        }
    }
    SetPassOverride(*set_, pass, kept, blank);
    Recompute();
    return true;
}

bool DieSetModel::TypePassField(int pass, std::string_view key, std::string text) {
    const std::optional<std::size_t> field = SetDieFieldIndex(key);
    const bool blankKey = key == kBlankKey;
    if (!field && !blankKey) {
        return false;
    }
    if (!HasPass(pass)) {
        return true;
    }
    const PassOverride* own = FindPassOverride(*set_, pass);
    OwnFieldTexts texts = own ? own->FieldTexts : OwnFieldTexts{};
    std::optional<std::string> blank = own ? own->Blank : std::nullopt;
    auto& slot = blankKey ? blank : texts.at(*field);
    if (text.empty()) {
        slot.reset();
    } else {
        slot = std::move(text);
    }
    SetPassProfile(pass, texts, blank);
    return true;
}

bool DieSetModel::SetDie(const std::string& blank, const SetDieTexts& texts) {
    if (!set_ || !InCatalogue(blank)) {
        return false;
    }
    SetDieTexts kept = texts;
    if (const std::optional<BlankInUnit> row = ReadBlank(blank, UnitDivisorOf(set_->Unit))) {
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (IsDiamondField(i)) {
                kept[i] = kSetDieFields[i].Text1Index == kDiamondDiameterText1 ? row->DiameterText
                                                                               : row->HeightText;
            }
        }
    }
    set_->Blank = blank;
    set_->DieFieldTexts = std::move(kept);
    Recompute();
    return true;
}

bool DieSetModel::TypeDieField(std::string_view key, std::string text) {
    const std::optional<std::size_t> field = SetDieFieldIndex(key);
    const bool blankKey = key == kBlankKey;
    if (!field && !blankKey) {
        return false;
    }
    if (set_) {
        std::string blank = set_->Blank;
        SetDieTexts texts = set_->DieFieldTexts;
        (blankKey ? blank : texts.at(*field)) = std::move(text);
        SetDie(blank, texts);
    }
    return true;
}

bool DieSetModel::TakeDesign(const Design& design) {
    if (!set_) {
        return false;
    }
    const DieSetFile taken = DieSetFromDesign(design);
    SetDieTexts texts = taken.DieFieldTexts;
    // Only the diamond's own diameter and height are lengths; a catalogue row's are read anew in
    // the set's unit, and a text that is no number is taken as typed for its rows to name.
    if (design.Unit != set_->Unit && taken.Blank == kCustomBlankRow) {
        const bool toInches = set_->Unit == "in";
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::optional<double> value =
                IsDiamondField(i) ? ParseNumber(texts[i]) : std::nullopt;
            if (!value) {
                continue;
            }
            const double converted =
                toInches ? *value / kInchUnitDivisor : *value * kMillimetresPerInch;
            if (!std::isfinite(converted)) {
                toolkit_.ShowMessage("Cannot take the window's design into the set: " +
                                     std::string(Text1Caption(kSetDieFields[i].Text1Index)) +
                                     " is too large to show in millimetres.");
                return false;
            }
            texts[i] = NumberToText(converted);
        }
    }
    return SetDie(taken.Blank, texts);
}

bool DieSetModel::RemovePassProfile(int pass) {
    if (!set_) {
        return false;
    }
    if (FindPassOverride(*set_, pass) == nullptr) {
        toolkit_.ShowMessage("Pass " + std::to_string(pass) + " has no profile of its own.");
        return false;
    }
    SetPassOverride(*set_, pass, {});
    Recompute();
    return true;
}

bool DieSetModel::OpenPassAsDesign(int pass, Form1Model& window) {
    if (!HasPass(pass)) {
        return false;
    }
    // Through the window's handlers, as a user choosing the unit and the blank and typing every
    // field would, then Calculate; its messages (a refusal, the bell) show as for the user.
    const Design& typed = lastGood_->Passes[static_cast<std::size_t>(pass - 1)].Die.Typed;
    // A new design from no file: nothing may save a pass over the design the window held.
    const std::string origin =
        "pass " + std::to_string(pass) +
        (path_.empty() ? std::string(" of the die set") : " of " + DesignFileName(path_));
    if (const Expected<void> opened = window.ApplyAsNewDesign(typed, origin); !opened) {
        toolkit_.ShowMessage("Cannot open pass " + std::to_string(pass) +
                             " in the window: " + opened.Error().Message + ".");
        return false;
    }
    return true;
}

std::optional<double> DieSetModel::Caution() const {
    const std::optional<double> value = ParseNumber(cautionText_);
    if (!value || !std::isfinite(*value) || *value <= 0) {
        return std::nullopt;
    }
    return value;
}

std::string DieSetModel::DialogFolder(const std::string& lastUsed) const {
    if (path_.empty()) {
        return lastUsed;
    }
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path_, failed);
    return failed ? lastUsed : absolute.lexically_normal().parent_path().string();
}

bool DieSetModel::HasChanged() const {
    return set_ && unchanged_ && !SameAsSaved(*set_, *unchanged_);
}

void DieSetModel::Recompute() {
    Expected<DieSetSchedule, DieSetRefusal> computed = ComputeDieSet(*set_);
    if (!computed) {
        refused_ = std::move(computed).Error();
        return;
    }
    refused_.reset();
    lastGood_ = *std::move(computed);
}

} // namespace dieprofile
