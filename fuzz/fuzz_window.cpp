// Drives the window model with random sessions of what a die maker does: pick a blank, switch
// units, type into the fields (often texts that are numbers only in part, or not at all), move the
// focus, calculate and print. After every step it checks what must hold whatever was typed:
// - an action that refuses the input says so and leaves the window as it was, the focus and the
//   focused field's selection aside;
// - a Calculate that goes through leaves only finite numbers in the state and the drawing, and
//   every value label and result field shows a number;
// - inches to millimetres and back gives the wire diameters back to within the 15 digits a field
//   keeps, and exactly when they have no more than 12 significant digits;
// - printing puts the window back as it was, except that the diamond fields end up shown.
//
// Input layout, read front to back (past the end every byte reads as zero):
//   command byte, then its operands; a field text is a source byte, then a dictionary index, raw
//   bytes after a length byte, or the bytes of a number.
#include "app/dump.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "catalogue/catalogue.h"
#include "core/controls.h"
#include "core/number_text.h"
#include "core/utf8.h"
#include "profile/form_design.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace {

using namespace dieprofile;

// A failed property names itself on stderr before the trap, so a crash report says which one.
[[noreturn]] void Fail(int line, const char* condition) {
    std::fprintf(stderr, "fuzz_window.cpp:%d: property does not hold: %s\n", line, condition);
    __builtin_trap();
}
#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            Fail(__LINE__, #condition);                                                            \
        }                                                                                          \
    } while (false)

// With DIEPROFILE_FUZZ_TRACE set, every step is written to stderr as a line of the headless
// driver's script (a line starting with '#' for what the script cannot say), to replay a finding.
bool Tracing() {
    static const bool tracing = std::getenv("DIEPROFILE_FUZZ_TRACE") != nullptr;
    return tracing;
}

void Trace(const std::string& line) {
    if (Tracing()) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

constexpr int kMaxCommands = 64;

constexpr std::string_view kBellWarning =
    "Warning - the entering wire is contacting the Bell area.";
constexpr std::string_view kOutletNotLess = "Outlet Diameter must be less than Incoming Diameter.";
constexpr std::string_view kDiameterZero = "Diamond Diameter must not be zero.";
constexpr std::string_view kCannotCalculate = "The profile cannot be calculated with these values.";
constexpr std::string_view kNoPrinter = "No printer is available.";
constexpr std::string_view kPrintFailed = "Printing failed: ";
constexpr std::string_view kQueuePaused =
    "The printer paper-queue is paused; the page waits in its queue until it is resumed.";
// Every kind of PrintOutcome, in the order of its enumeration.
constexpr int kPrintOutcomes = 4;
static_assert(static_cast<int>(PrintOutcome::Kind::Paused) == kPrintOutcomes - 1);

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string Bytes(std::size_t count) {
        const std::size_t n = std::min(count, size_ - std::min(at_, size_));
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Texts that have tripped number readers and layout code before: blanks, signed zero, the ends of
// the double range, words a C library reads as numbers, decimal commas, hexadecimal, a non-ASCII
// digit, control characters, and the values a die maker really types.
const std::vector<std::string>& NastyTexts() {
    static const std::vector<std::string> kTexts = [] {
        std::vector<std::string> texts{
            "",     " ",        "-0",      "1e308",  "-1e308", "1e-320", "nan", "inf",  "1,5",
            "0x10", "\xd9\xa3", "\t1",     "1\n",    "\x01",   "0",      "180", "360",  "-720",
            "90",   "1e9",      "1e-9",    "0.022",  "0.012",  "-inf",   "1.5", "25.4", "100",
            "-1",   "1e307",    "1.7e308", "5e-324", "1e-300", "0.0001"};
        texts.emplace_back(1000, '7');
        texts.push_back("0." + std::string(999, '0') + "1");
        texts.emplace_back("1\0", 2);
        return texts;
    }();
    return kTexts;
}

std::string FieldText(Input& in) {
    const auto& nasty = NastyTexts();
    switch (in.Byte() % 5) {
    case 0:
        return nasty[in.Byte() % nasty.size()];
    case 1: {
        // The reader ignores surrounding blanks; make sure it does so around any text.
        const std::uint8_t pad = in.Byte();
        std::string text = nasty[in.Byte() % nasty.size()];
        text.insert(0, pad & 3, ' ');
        text.append((pad >> 2) & 3, ' ');
        return text;
    }
    case 2:
        return in.Bytes(in.Byte() % 33);
    case 3: {
        double value = 0;
        const std::string bytes = in.Bytes(sizeof value);
        std::memcpy(&value, bytes.data(), bytes.size());
        return NumberToText(value);
    }
    default: {
        // A short decimal such as a die maker types: -32768..32767 over a power of ten.
        const auto high = static_cast<std::uint16_t>(in.Byte() << 8);
        const auto mantissa = static_cast<std::int16_t>(high | in.Byte());
        const int places = in.Byte() % 7;
        return NumberToText(static_cast<double>(mantissa) / std::pow(10.0, places));
    }
    }
}

int Text1IndexFrom(Input& in) {
    return kText1Indices[in.Byte() % kText1Indices.size()];
}

// Everything the model holds, to compare parts of it across a step.
struct Snapshot {
    explicit Snapshot(const Form1Model& model)
        : State(model.State()), Scene(model.Scene()), Text1Fields(model.Text1Fields()),
          Text2(model.Text2()), Text3(model.Text3()), Label1_6(model.Label1_6()),
          Label1_11(model.Label1_11()), ComboRow(model.ComboRow()),
          OptionIndex(model.OptionIndex()), Focus(model.Focus()), Window(model.Window()) {}

    ProfileState State;
    DrawingScene Scene;
    std::array<TextField, 11> Text1Fields;
    TextField Text2;
    TextField Text3;
    CaptionLabel Label1_6;
    CaptionLabel Label1_11;
    int ComboRow;
    int OptionIndex;
    ControlId Focus;
    WindowRect Window;

    const TextField& Text1(int index) const {
        return Text1Fields.at(static_cast<std::size_t>(index));
    }

    // The same with the focus and every field's selection blanked out: what the dump of a window
    // shows once its focus line and selection numbers are set aside.
    Snapshot WithoutFocusOrSelection() const {
        Snapshot masked = *this;
        masked.Focus = ControlId::None;
        for (TextField* field : {&masked.Text2, &masked.Text3}) {
            field->SelStart = 0;
            field->SelLength = 0;
        }
        for (TextField& field : masked.Text1Fields) {
            field.SelStart = 0;
            field.SelLength = 0;
        }
        return masked;
    }

    bool operator==(const Snapshot&) const = default;
};

// The window as its dump shows it, the focus and the selections aside. Every line of the dump is
// made from these members, so equal snapshots are equal dumps; comparing them is much cheaper.
Snapshot Unfocused(const Form1Model& model) {
    return Snapshot(model).WithoutFocusOrSelection();
}

bool IsCustomRow(int row) {
    return row >= 1 && row <= static_cast<int>(CatalogueRows().size()) &&
           CatalogueRows()[static_cast<std::size_t>(row - 1)] == kCustomBlankRow;
}

bool DiamondFieldsVisible(const Form1Model& model) {
    return model.Text1(5).Visible && model.Text1(10).Visible && model.Label1_6().Visible &&
           model.Label1_11().Visible;
}

bool DiamondFieldsHidden(const Form1Model& model) {
    return !model.Text1(5).Visible && !model.Text1(10).Visible && !model.Label1_6().Visible &&
           !model.Label1_11().Visible;
}

class Session {
public:
    Session() : model_(toolkit_) {
        toolkit_.Attach(model_);
        model_.Form_Load();
        model_.Show();
    }

    void Run(Input& in) {
        for (int step = 0; step < kMaxCommands && !in.AtEnd(); ++step) {
            switch (in.Byte() % 9) {
            case 0: {
                const int row = 1 + in.Byte() % static_cast<int>(CatalogueRows().size());
                Trace("select " + std::to_string(row));
                Select(row);
                break;
            }
            case 1: {
                const int index = in.Byte() % 2;
                Trace("units " + std::to_string(index));
                Units(index);
                break;
            }
            case 2: {
                const int index = Text1IndexFrom(in);
                std::string text = FieldText(in);
                Trace("type " + std::to_string(index) + " " + text);
                model_.ReplaceText(Text1Control(index), std::move(text));
                break;
            }
            case 3: {
                const int index = Text1IndexFrom(in);
                Trace("focus " + std::to_string(index));
                Focus(index);
                break;
            }
            case 4:
            case 5:
                Trace("calculate");
                Calculate();
                break;
            case 6: {
                const int outcome = in.Byte() % kPrintOutcomes;
                Trace("print" + std::string(outcome == 0   ? ""
                                            : outcome == 1 ? " # no printer"
                                            : outcome == 2 ? " # fails"
                                                           : " # queue paused"));
                Print(outcome);
                break;
            }
            case 7:
                Trace("# units there and back, if in inches");
                UnitsThereAndBack();
                break;
            default: {
                const int index = Text1IndexFrom(in);
                const int start = in.Byte() % 16;
                const int length = in.Byte() % 16;
                Trace("# select characters " + std::to_string(start) + "+" +
                      std::to_string(length) + " of Text1(" + std::to_string(index) + ")");
                model_.SetSelection(Text1Control(index), start, length);
                break;
            }
            }
            CheckAlways();
        }
        // The dump is what the driver and the tests read: it writes any state, whole.
        const std::string dump = Dump(model_);
        CHECK(dump.starts_with("begin dump\n") && dump.ends_with("end dump\n"));
    }

private:
    // Messages shown since `from`.
    std::vector<std::string> MessagesSince(std::size_t from) const {
        return {toolkit_.Messages.begin() + static_cast<std::ptrdiff_t>(from),
                toolkit_.Messages.end()};
    }

    static std::optional<int> FieldOfNumberMessage(std::string_view message) {
        for (int index : kText1Indices) {
            if (message == std::string(Text1Caption(index)) + " must be a number.") {
                return index;
            }
        }
        return std::nullopt;
    }

    std::optional<double> Value(int index) const { return ParseNumber(model_.Text1(index).Text); }

    // A refused read names a field that really is not a number, and puts the focus there when
    // the field can take it.
    void CheckNumberMessage(int index) const {
        CHECK(!Value(index).has_value());
        if (model_.Text1(index).Visible) {
            CHECK(model_.Focus() == Text1Control(index));
        }
    }

    // A refused action may select the text of the field it puts the focus on, and nothing else.
    void CheckOnlyFocusedSelectionMoved(const Snapshot& before) const {
        for (int index : kText1Indices) {
            if (Text1Control(index) != model_.Focus()) {
                const TextField& now = model_.Text1(index);
                const TextField& was = before.Text1(index);
                CHECK(now.SelStart == was.SelStart && now.SelLength == was.SelLength);
            }
        }
    }

    void CheckAlways() const {
        CHECK(model_.OptionIndex() == 0 || model_.OptionIndex() == 1);
        CHECK(model_.State().UnitDivisor == (model_.OptionIndex() == 0 ? 25.4 : 1.0));
        CHECK(model_.ComboRow() >= 1 &&
              model_.ComboRow() <= static_cast<int>(CatalogueRows().size()));
        // A hidden control never keeps the focus.
        CHECK(model_.Focus() == ControlId::None || model_.IsVisible(model_.Focus()));
        for (int index : kText1Indices) {
            const TextField& field = model_.Text1(index);
            const int size = static_cast<int>(CodePointCount(field.Text));
            CHECK(field.SelStart >= 0 && field.SelLength >= 0 &&
                  field.SelStart + field.SelLength <= size);
        }
        // The diamond fields and their captions are shown and hidden together.
        CHECK(DiamondFieldsVisible(model_) || DiamondFieldsHidden(model_));
    }

    void Select(int row) {
        const Snapshot before(model_);
        const Snapshot unfocusedBefore = Unfocused(model_);
        const std::size_t messages = toolkit_.Messages.size();
        model_.PickRow(row);
        CHECK(toolkit_.Messages.size() == messages);
        CHECK(model_.ComboRow() == row);
        if (IsCustomRow(row)) {
            // The custom row only shows the diamond fields for typing.
            CHECK(DiamondFieldsVisible(model_));
            CHECK(model_.State() == before.State);
            for (int index : kText1Indices) {
                CHECK(model_.Text1(index).Text == before.Text1(index).Text);
            }
            if (IsCustomRow(before.ComboRow)) {
                CHECK(Unfocused(model_) == unfocusedBefore);
            }
            return;
        }
        // A catalogue blank fills the diamond fields with numbers and hides them.
        CHECK(DiamondFieldsHidden(model_));
        const std::optional<double> diameter = Value(10);
        const std::optional<double> height = Value(5);
        CHECK(diameter && height && *diameter > 0 && *height > 0);
        CHECK(model_.State().DiamondDiameter > 0 && std::isfinite(model_.State().DrawScale));
        CHECK(model_.Scene() == before.Scene);
    }

    void Units(int index) {
        const std::size_t messages = toolkit_.Messages.size();
        const Snapshot unfocusedBefore = Unfocused(model_);
        const Snapshot fullBefore(model_);
        const Snapshot& before = fullBefore;
        const int previous = model_.OptionIndex();
        model_.ChooseOption(index);
        const std::vector<std::string> shown = MessagesSince(messages);
        if (index == previous) {
            // The unit already shown: nothing at all happens.
            CHECK(shown.empty() && Snapshot(model_) == fullBefore);
            return;
        }
        if (shown.empty()) {
            CHECK(model_.OptionIndex() == index);
            CHECK(Value(0).has_value() && Value(1).has_value());
            return;
        }
        CHECK(shown.size() == 1);
        const std::string& message = shown.front();
        if (const std::optional<int> field = FieldOfNumberMessage(message)) {
            CHECK(*field == 0 || *field == 1);
            CheckNumberMessage(*field);
        } else {
            // Only a millimetre value can outgrow a double.
            CHECK(index == 1);
            const bool outlet =
                message == std::string(Text1Caption(0)) + " is too large to show in millimetres.";
            const bool incoming =
                message == std::string(Text1Caption(1)) + " is too large to show in millimetres.";
            CHECK(outlet || incoming);
            const std::optional<double> value = Value(outlet ? 0 : 1);
            CHECK(value && !std::isfinite(*value * 25.4));
        }
        CHECK(model_.OptionIndex() == previous);
        CHECK(Unfocused(model_) == unfocusedBefore);
        CheckOnlyFocusedSelectionMoved(before);
    }

    void Focus(int index) {
        const ControlId control = Text1Control(index);
        if (!model_.IsVisible(control)) {
            return; // as the headless driver: a hidden field cannot take the focus
        }
        model_.FocusArrived(control);
        CHECK(model_.Focus() == control);
    }

    void Calculate() {
        const std::size_t messages = toolkit_.Messages.size();
        const Snapshot unfocusedBefore = Unfocused(model_);
        const Snapshot before(model_);
        model_.Command1_Click();
        const std::vector<std::string> shown = MessagesSince(messages);
        // The bell warning only ever comes with a drawing that goes through.
        if (shown.empty() || (shown.size() == 1 && shown.front() == kBellWarning)) {
            CheckCalculated();
            return;
        }

        // Refused: one message saying why, and the window as it was.
        CHECK(shown.size() == 1);
        const std::string& message = shown.front();
        CHECK(Unfocused(model_) == unfocusedBefore);
        CheckOnlyFocusedSelectionMoved(before);
        if (const std::optional<int> field = FieldOfNumberMessage(message)) {
            CheckNumberMessage(*field);
        } else if (message == kOutletNotLess) {
            CHECK(Value(0) && Value(1) && *Value(0) >= *Value(1));
        } else if (message == kDiameterZero) {
            CHECK(Value(10) && *Value(10) == 0);
        } else {
            CHECK(message == kCannotCalculate);
            for (int index : kText1Indices) {
                CHECK(Value(index).has_value());
            }
            CHECK(*Value(0) < *Value(1) && *Value(10) != 0);
        }
    }

    void CheckCalculated() const {
        for (int index : kText1Indices) {
            CHECK(Value(index).has_value());
        }
        const ProfileState& state = model_.State();
        CHECK(state.OutletDiameter == *Value(0) && state.IncomingDiameter == *Value(1));
        CHECK(state.OutletDiameter < state.IncomingDiameter);
        CHECK(state.DiamondDiameter == *Value(10) && state.DiamondHeight == *Value(5));
        CHECK(state.DiamondDiameter != 0);
        for (const ProfileStateMember& member : ProfileStateMembers()) {
            if (const auto* real = std::get_if<double ProfileState::*>(&member.Member)) {
                CHECK(std::isfinite(state.*(*real)));
            }
        }
        for (const SegmentDesign& design : SceneSegments()) {
            const Segment& s = model_.Scene().*design.Member;
            CHECK(std::isfinite(s.X1) && std::isfinite(s.Y1) && std::isfinite(s.X2) &&
                  std::isfinite(s.Y2));
        }
        for (const LabelDesign& design : SceneLabels()) {
            CHECK(ParseNumber((model_.Scene().*design.Member).Caption).has_value());
        }
        CHECK(ParseNumber(model_.Text2().Text).has_value());
        CHECK(ParseNumber(model_.Text3().Text).has_value());
    }

    void Print(int outcome) {
        const Snapshot before(model_);
        const TwipSize outer = toolkit_.Outer;
        const std::size_t messages = toolkit_.Messages.size();
        const std::size_t printed = toolkit_.Printed.size();
        toolkit_.NextPrint.Result = static_cast<PrintOutcome::Kind>(outcome);
        toolkit_.NextPrint.Reason = "paper jam";
        toolkit_.NextPrint.Printer = "paper-queue";
        model_.Command2_Click();

        const std::vector<std::string> shown = MessagesSince(messages);
        switch (toolkit_.NextPrint.Result) {
        case PrintOutcome::Kind::Printed:
            CHECK(shown.empty() && toolkit_.Printed.size() == printed + 1);
            // The page shows the drawing without the diamond fields.
            CHECK(toolkit_.Printed.back().ends_with("diamond-fields hidden"));
            break;
        case PrintOutcome::Kind::NoPrinter:
            CHECK(shown.size() == 1 && shown.front() == kNoPrinter);
            CHECK(toolkit_.Printed.size() == printed);
            break;
        case PrintOutcome::Kind::Failed:
            CHECK(shown.size() == 1 && shown.front() == std::string(kPrintFailed) + "paper jam");
            CHECK(toolkit_.Printed.size() == printed);
            break;
        case PrintOutcome::Kind::Paused:
            // The job is sent all the same, and waits in the queue.
            CHECK(shown.size() == 1 && shown.front() == kQueuePaused);
            CHECK(toolkit_.Printed.size() == printed + 1);
            CHECK(toolkit_.Printed.back().ends_with("diamond-fields hidden"));
            break;
        }
        // The enlargement for the page is taken off again exactly.
        CHECK(toolkit_.Outer.Width == outer.Width && toolkit_.Outer.Height == outer.Height);
        CHECK(model_.Window() == before.Window);
        CHECK(model_.State() == before.State && model_.Scene() == before.Scene);
        CHECK(model_.ComboRow() == before.ComboRow && model_.OptionIndex() == before.OptionIndex);
        CHECK(model_.Text2() == before.Text2 && model_.Text3() == before.Text3);
        for (int index : kText1Indices) {
            TextField field = model_.Text1(index);
            field.Visible = before.Text1(index).Visible;
            field.SelStart = before.Text1(index).SelStart;
            field.SelLength = before.Text1(index).SelLength;
            CHECK(field == before.Text1(index));
            if (index != 5 && index != 10) {
                CHECK(model_.Text1(index).Visible);
            }
        }
        // The diamond fields come back shown, whichever blank is chosen, ready to be edited.
        CHECK(DiamondFieldsVisible(model_));
        CHECK(model_.Label1_6().Caption == before.Label1_6.Caption &&
              model_.Label1_11().Caption == before.Label1_11.Caption);
    }

    // Inches to millimetres and straight back.
    void UnitsThereAndBack() {
        if (model_.OptionIndex() != 0) {
            return;
        }
        const Snapshot before(model_);
        const std::size_t messages = toolkit_.Messages.size();
        const Snapshot unfocusedBefore = Unfocused(model_);
        model_.ChooseOption(1);
        if (toolkit_.Messages.size() != messages) {
            CHECK(model_.OptionIndex() == 0);
            CHECK(Unfocused(model_) == unfocusedBefore);
            CheckOnlyFocusedSelectionMoved(before);
            return;
        }
        CHECK(model_.OptionIndex() == 1 && model_.State().UnitDivisor == 1.0);
        // Every millimetre text is a number again, so the way back cannot be refused.
        model_.ChooseOption(0);
        CHECK(toolkit_.Messages.size() == messages);
        CHECK(model_.OptionIndex() == 0 && model_.State().UnitDivisor == 25.4);

        for (int index : {0, 1}) {
            const std::optional<double> was = ParseNumber(before.Text1(index).Text);
            const std::optional<double> now = Value(index);
            CHECK(was && now);
            // Each way the value is kept to 15 significant digits; a subnormal has fewer bits
            // than that, so allow a few of its steps as well.
            const double allowed =
                2e-14 * std::fabs(*was) + 4 * std::numeric_limits<double>::denorm_min();
            CHECK(std::fabs(*now - *was) <= allowed);
            // A diameter of up to 12 significant digits comes back to the very text the field
            // writes for it: 25.4 adds three digits, and 15 are kept.
            const std::string canonical = NumberToText(*was);
            std::size_t digits = 0;
            std::size_t first = canonical.find_first_of("123456789");
            const std::size_t exponent = canonical.find('E');
            const std::string mantissa = canonical.substr(0, exponent);
            const std::size_t last = mantissa.find_last_of("123456789");
            if (first != std::string::npos && last != std::string::npos) {
                for (std::size_t i = first; i <= last; ++i) {
                    digits += mantissa[i] >= '0' && mantissa[i] <= '9' ? 1 : 0;
                }
            }
            const bool normalRange =
                *was == 0 || (std::fabs(*was) >= 1e-300 && std::fabs(*was) <= 1e300);
            if (digits <= 12 && normalRange) {
                CHECK(model_.Text1(index).Text == canonical);
            }
        }

        CHECK(model_.Scene() == before.Scene);
        CHECK(model_.ComboRow() == before.ComboRow && model_.Window() == before.Window);
        CHECK(model_.Text2() == before.Text2 && model_.Text3() == before.Text3);
        for (int index : {2, 3, 4, 6, 7, 8}) {
            CHECK(model_.Text1(index) == before.Text1(index));
        }
        ProfileState state = model_.State();
        state.DiamondDiameter = before.State.DiamondDiameter;
        state.DiamondHeight = before.State.DiamondHeight;
        state.DrawScale = before.State.DrawScale;
        CHECK(state == before.State);
        CHECK(model_.Focus() == before.Focus ||
              (!model_.IsVisible(before.Focus) && model_.Focus() == ControlId::Text1_0));

        if (IsCustomRow(model_.ComboRow())) {
            // Typed blank dimensions are the user's: the switch leaves them alone.
            CHECK(model_.State() == before.State);
            CHECK(model_.Text1(5) == before.Text1(5) && model_.Text1(10) == before.Text1(10));
            CHECK(DiamondFieldsVisible(model_));
        } else {
            // The catalogue blank is read again in inches: choosing the same row once more
            // changes nothing.
            CHECK(DiamondFieldsHidden(model_));
            const Snapshot after(model_);
            model_.PickRow(model_.ComboRow());
            CHECK(Snapshot(model_) == after);
        }
    }

    HeadlessToolkit toolkit_;
    Form1Model model_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    Session session;
    session.Run(in);
    return 0;
}
