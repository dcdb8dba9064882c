#include "model_fixture.h"
#include "output/dxf_drawing.h"
#include "output/dxf_writer.h"
#include "output/sheet_layout.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <numbers>
#include <regex>
#include <set>

namespace dieprofile::testing {
namespace {

using DxfDrawingTest = ModelTest;

// Numbers go out in the C locale and read back exactly, whatever locale the process runs in: here
// one that writes a decimal comma, installed for the tests by scripts/install-deps.
TEST(DxfWriter, NumbersRoundTripInAnyLocale) {
    struct CommaLocale {
        CommaLocale() : Set(std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {}
        ~CommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
        CommaLocale(const CommaLocale&) = delete;
        CommaLocale& operator=(const CommaLocale&) = delete;
        bool Set;
    };
    std::string text;
    {
        const CommaLocale locale;
        ASSERT_TRUE(locale.Set) << "the locale de_DE.UTF-8 is missing: scripts/install-deps test";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        DxfDocument document;
        document.Lines.push_back({"L", {0.1 + 0.2, -1.0 / 3}, {1e-9, 12345.678}});
        text = WriteDxf(document);
    }
    EXPECT_NE(text.find("\n10\n0.30000000000000004\n20\n-0.3333333333333333\n"), std::string::npos);
    EXPECT_NE(text.find("\n11\n1e-09\n21\n12345.678\n"), std::string::npos);
    EXPECT_EQ(text.find(','), std::string::npos);
    EXPECT_TRUE(text.ends_with("0\nEOF\n"));
}

// Texts leave in code page 1252, which the header names; what that page lacks is escaped, and
// what no reader can decode the same way is replaced.
TEST(DxfWriter, TextsAreWrittenInCodePage1252) {
    const struct {
        const char* name;
        std::string text;  // UTF-8
        std::string bytes; // in the file
    } rows[] = {
        {"ASCII as it is", "Die 0.012 in", "Die 0.012 in"},
        {"Latin-1 letters are one byte", "D\u00fcse \u00d8\u00b1", "D\xfcse \xd8\xb1"},
        {"the page's own 0x80 to 0x9F", "\u20ac\u2013\u2122\u0178", "\x80\x96\x99\x9f"},
        {"Greek and Cyrillic escaped", "\u03a9\u0416", "\\U+03A9\\U+0416"},
        {"the highest of the plane", "\uffee", "\\U+FFEE"},
        {"beyond the plane", "a\U0001F600b", "a?b"},
        {"controls", "a\tb\x7f\u0085", "a?b??"},
        {"not UTF-8", "a\xff\xc3(b\xe2\x82",
         "a?"
         "?(b??"},
        {"an overlong slash", "\xc0\xaf", "??"},
        {"a surrogate", "\xed\xa0\x80", "???"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DxfDocument document;
        document.Texts.push_back({"L", {0, 0}, 1, DxfTextAlignment::Left, row.text});
        const std::string file = WriteDxf(document);
        EXPECT_NE(file.find("\n1\n" + row.bytes + "\n"), std::string::npos) << file;
        EXPECT_NE(file.find("\n9\n$DWGCODEPAGE\n3\nANSI_1252\n"), std::string::npos);
    }
}

// A point halfway up a text's letters: where the text is, whichever way it reads.
Point MidHeight(const DxfText& text) {
    const double a = text.RotationDeg * std::numbers::pi / 180;
    return {text.At.X - std::sin(a) * text.Height / 2, text.At.Y + std::cos(a) * text.Height / 2};
}

// The section's dimensions are the sheet's: every value with its Ø, degrees or the unit's decimals
// (none of the window's labels), each arrowhead a filled solid whose tip is on the edge it
// dimensions, in true units. Turned to a horizontal axis, each text stands where the upright one
// stands turned, and reads from the bottom or the right, turned over in its place if need be.
TEST_F(DxfDrawingTest, DimensionsTheDieAsTheSheetDoes) {
    const struct {
        bool millimetres;
        std::set<std::string> values; // among the texts
    } rows[] = {
        {false, {"\u00D80.0120", "\u00D80.1800", "0.1800", "0.0540", "0.0360", "25\u00B0"}},
        {true, {"\u00D80.305", "\u00D84.572", "4.572", "1.372", "0.914", "50\u00B0"}},
    };
    const std::regex sheetValue(R"(UNITS: .*|DESIGN: .*|(\xC3\x98)?\d+\.\d{3,4}|\d+\xC2\xB0)");
    for (const auto& row : rows) {
        UseDefaultProfile(row.millimetres);
        model.Command1_Click();
        const CalculatedDrawing& drawn = *model.LastCalculation();
        const DxfDocument dxf = DxfDocumentOf(drawn, model.Scene(), "d.dieprofile");
        std::set<std::string> texts;
        for (const DxfText& text : dxf.Texts) {
            EXPECT_TRUE(std::regex_match(text.Text, sheetValue)) << text.Text;
            texts.insert(text.Text);
        }
        EXPECT_TRUE(std::ranges::includes(texts, row.values));
        const SheetSection s =
            SheetSectionOf(drawn.Frame, model.Scene(), drawn.Profile, drawn.UnitDivisor);
        const auto tipOn = [&](double along, double at) {
            return std::ranges::any_of(dxf.Solids, [&](const DxfSolid& solid) {
                const Point tip = solid.Corners[0];
                return std::fabs((along != 0 ? tip.X : tip.Y) - at) < 1e-9 * s.BlankHeight;
            });
        };
        EXPECT_TRUE(tipOn(0, 0) && tipOn(0, s.BlankHeight));
        for (const double d : {s.BlankDiameter, s.OutletDiameter, s.IncomingDiameter}) {
            EXPECT_TRUE(tipOn(1, -d / 2) && tipOn(1, d / 2)) << d;
        }
        const DxfDocument turned = DxfDocumentOf(drawn, model.Scene(), "d.dieprofile",
                                                 {DxfProfile::Section, DxfAxis::Horizontal});
        ASSERT_EQ(turned.Texts.size(), dxf.Texts.size());
        for (std::size_t i = 0; i < turned.Texts.size(); ++i) {
            const DxfText& is = turned.Texts[i];
            EXPECT_TRUE(is.RotationDeg == 0 || is.RotationDeg == 90) << is.Text;
            EXPECT_NEAR(MidHeight(is).X, -MidHeight(dxf.Texts[i]).Y, 1e-12) << is.Text;
            EXPECT_NEAR(MidHeight(is).Y, MidHeight(dxf.Texts[i]).X, 1e-12) << is.Text;
            // Turned over, it is aligned by its other end.
            const DxfTextAlignment was = dxf.Texts[i].Alignment;
            const bool over = std::fmod(dxf.Texts[i].RotationDeg + 90, 360) != is.RotationDeg;
            EXPECT_EQ(is.Alignment, !over || was == DxfTextAlignment::Centre ? was
                                    : was == DxfTextAlignment::Left ? DxfTextAlignment::Right
                                                                    : DxfTextAlignment::Left);
        }
    }
}

} // namespace
} // namespace dieprofile::testing
