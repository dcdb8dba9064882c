#include "app/dump.h"

#include "profile/form_design.h"

#include <charconv>
#include <cstdio>
#include <variant>

namespace dieprofile {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string GeneralNumber(double value, int digits) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

namespace {

std::string_view Visibility(bool visible) {
    return visible ? "visible" : "hidden";
}

void Line(std::string& out, std::string_view text) {
    out += text;
    out += '\n';
}

} // namespace

std::string Dump(const Form1Model& model) {
    std::string out;
    Line(out, "begin dump");
    for (const ProfileStateMember& member : ProfileStateMembers()) {
        std::string value;
        if (const auto* real = std::get_if<double ProfileState::*>(&member.Member)) {
            value = GeneralNumber(model.State().*(*real), 17);
        } else {
            value = std::to_string(model.State().*
                                   std::get<std::int32_t ProfileState::*>(member.Member));
        }
        Line(out, "state " + std::string(member.Name) + " " + value);
    }
    Line(out, "combo " + std::to_string(model.ComboRow()));
    Line(out, "option " + std::to_string(model.OptionIndex()));

    auto field = [&](ControlId id) {
        const TextField& f = *model.Field(id);
        Line(out, "field " + std::string(ControlName(id)) + " " +
                      std::string(Visibility(f.Visible)) + " " + std::to_string(f.SelStart) + " " +
                      std::to_string(f.SelLength) + " " + Quoted(f.Text));
    };
    for (int index : kText1Indices) {
        field(Text1Control(index));
    }
    field(ControlId::Text2);
    field(ControlId::Text3);

    auto label = [&](std::string_view name, bool visible, std::string_view caption) {
        Line(out, "label " + std::string(name) + " " + std::string(Visibility(visible)) + " " +
                      Quoted(caption));
    };
    label("Label1(6)", model.Label1_6().Visible, model.Label1_6().Caption);
    label("Label1(11)", model.Label1_11().Visible, model.Label1_11().Caption);
    for (const LabelDesign& design : SceneLabels()) {
        label(design.Name, true, (model.Scene().*design.Member).Caption);
    }

    for (const SegmentDesign& design : SceneSegments()) {
        const Segment& s = model.Scene().*design.Member;
        Line(out, "segment " + std::string(design.Name) + " " + GeneralNumber(s.X1, 9) + " " +
                      GeneralNumber(s.Y1, 9) + " " + GeneralNumber(s.X2, 9) + " " +
                      GeneralNumber(s.Y2, 9));
    }
    Line(out, "focus " + std::string(ControlName(model.Focus())));
    const WindowRect& w = model.Window();
    Line(out, "window " + GeneralNumber(w.Left, 9) + " " + GeneralNumber(w.Top, 9) + " " +
                  GeneralNumber(w.Width, 9) + " " + GeneralNumber(w.Height, 9));
    Line(out, "end dump");
    return out;
}

} // namespace dieprofile
