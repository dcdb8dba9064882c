#include "app/form_model.h"

#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "core/units.h"
#include "core/utf8.h"
#include "profile/die_calculation.h"
#include "profile/form_design.h"

#include <algorithm>
#include <utility>

namespace dieprofile {

Form1Model::Form1Model(Toolkit& toolkit) : toolkit_(toolkit) {
    for (int index : kText1Indices) {
        EditableText1(index).Text = std::string(ControlDesignOf(Text1Control(index)).Text);
    }
    text2_.Text = std::string(ControlDesignOf(ControlId::Text2).Text);
    text3_.Text = std::string(ControlDesignOf(ControlId::Text3).Text);
    label1_6_.Caption = std::string(ControlDesignOf("Label1(6)").Text);
    label1_11_.Caption = std::string(ControlDesignOf("Label1(11)").Text);
    window_.Width = static_cast<float>(kWindow.ClientWidth);
    window_.Height = static_cast<float>(kWindow.ClientHeight);
}

void Form1Model::Form_Load() {
    SetLoadedReferences(state_, scene_);

    CentreWindow();

    // The list is given the first row's exact text, which makes that row current.
    const std::optional<int> first = FindCatalogueRow(CatalogueRows().front());
    comboRow_ = first.value();
    Combo1_Click();
}

void Form1Model::CentreWindow() {
    // Sizes are single precision; on a screen smaller than the window the position comes out
    // negative and the window overhangs both edges equally.
    const TwipSize screen = toolkit_.ScreenSize();
    const TwipSize outer = toolkit_.WindowOuterSize();
    window_.Width = outer.Width;
    window_.Height = outer.Height;
    window_.Left =
        ToSingle(static_cast<double>(screen.Width) / 2 - static_cast<double>(outer.Width) / 2);
    window_.Top =
        ToSingle(static_cast<double>(screen.Height) / 2 - static_cast<double>(outer.Height) / 2);
    toolkit_.MoveWindow(window_.Left, window_.Top);
}

void Form1Model::Show() {
    GiveFocus(ControlId::Combo1);
}

void Form1Model::Text1_GotFocus(int index) {
    TextField& field = EditableText1(index);
    // Typing then replaces the leading characters; a shorter text is selected whole.
    field.SelStart = 0;
    field.SelLength = std::min(6, static_cast<int>(CodePointCount(field.Text)));
}

void Form1Model::PickRow(int row) {
    const int rows = static_cast<int>(CatalogueRows().size());
    if (row < 1 || row > rows) {
        return;
    }
    comboRow_ = row;
    Combo1_Click();
}

void Form1Model::ReplaceText(ControlId control, std::string text) {
    if (TextField* field = EditableField(control)) {
        WriteText(*field, std::move(text));
    }
}

void Form1Model::SetSelection(ControlId control, int start, int length) {
    TextField* field = EditableField(control);
    if (field == nullptr) {
        return;
    }
    const int size = static_cast<int>(CodePointCount(field->Text));
    field->SelStart = std::clamp(start, 0, size);
    field->SelLength = std::clamp(length, 0, size - field->SelStart);
}

void Form1Model::FocusArrived(ControlId control) {
    focus_ = control;
    if (const std::optional<int> index = Text1Index(control)) {
        Text1_GotFocus(*index);
    }
}

void Form1Model::GiveFocus(ControlId control) {
    if (!IsVisible(control)) {
        return; // a hidden control cannot take the focus
    }
    FocusArrived(control);
    toolkit_.MoveFocus(control);
}

TextField* Form1Model::EditableField(ControlId control) {
    return const_cast<TextField*>(std::as_const(*this).Field(control));
}

const TextField* Form1Model::Field(ControlId control) const {
    if (const std::optional<int> index = Text1Index(control)) {
        return &Text1(*index);
    }
    if (control == ControlId::Text2) {
        return &text2_;
    }
    if (control == ControlId::Text3) {
        return &text3_;
    }
    return nullptr;
}

TextField& Form1Model::EditableText1(int index) {
    return text1Fields_.at(static_cast<std::size_t>(index));
}

const TextField& Form1Model::Text1(int index) const {
    return text1Fields_.at(static_cast<std::size_t>(index));
}

bool Form1Model::IsVisible(ControlId control) const {
    if (control == ControlId::None) {
        return false;
    }
    const TextField* field = Field(control);
    return field == nullptr || field->Visible;
}

void Form1Model::WriteText(TextField& field, std::string text) {
    field.Text = std::move(text);
    field.SelStart = static_cast<int>(CodePointCount(field.Text));
    field.SelLength = 0;
}

void Form1Model::SetDiamondFieldsVisible(bool visible) {
    label1_6_.Visible = visible;
    label1_11_.Visible = visible;
    EditableText1(10).Visible = visible;
    EditableText1(5).Visible = visible;
    if (!visible) {
        KeepFocusOnVisibleControl();
    }
}

void Form1Model::KeepFocusOnVisibleControl() {
    if (focus_ == ControlId::None || IsVisible(focus_)) {
        return;
    }
    const auto& order = TabOrder();
    const auto at = std::find(order.begin(), order.end(), focus_);
    for (auto next = at; next != order.end(); ++next) {
        if (IsVisible(*next)) {
            GiveFocus(*next);
            return;
        }
    }
}

std::optional<double> Form1Model::ReadField(int index) {
    const std::optional<double> value = ParseNumber(Text1(index).Text);
    if (!value) {
        toolkit_.ShowMessage(std::string(Text1Caption(index)) + " must be a number.");
        GiveFocus(Text1Control(index));
    }
    return value;
}

} // namespace dieprofile
