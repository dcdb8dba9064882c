#include "app/drawing_export.h"
#include "app/export.h"
#include "model_fixture.h"
#include "output/dxf_writer.h"
#include "output/sheet_layout.h"
#include "output/title_block.h"
#include "profile/profile_figures.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <regex>
#include <set>

namespace dieprofile::testing {
namespace {

using ExportFiguresTest = ModelTest;

// The meeting point on the default profile with wires of four widths: on the cone, low and high;
// on the bell (above the junction, so more than the whole reduction zone); wider than the mouth,
// where the drawing keeps the previous lower end and there is no meeting point. The cone runs
// from y 4044 to 6228 twips at 26000 twips an inch; the figures are read off the wire's lower end
// as the drawing stores it (0.0226 in above the bearing, 26.85 % of the cone, for the default).
TEST_F(ExportFiguresTest, MeetingPointFollowsWhereTheWireRests) {
    const struct {
        const char* name;
        const char* incoming;
        WireContact contact;
        float lowerEnd;
    } rows[] = {
        {"default wire on the cone", "0.022", WireContact::ReductionCone, 5641.60742f},
        {"wide wire high on the cone", "0.040", WireContact::ReductionCone, 4586.10059f},
        {"wire on the bell", "0.05", WireContact::Bell, 4022.94238f},
        {"wider than the mouth", "0.100", WireContact::WiderThanMouth, 4022.94238f},
    };
    UseDefaultProfile();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Type(1, row.incoming);
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation());
        const ProfileFigures figures = FiguresOf(model.LastCalculation()->Profile,
                                                 model.LastCalculation()->Frame, model.Scene());
        EXPECT_EQ(figures.Meeting.Contact, row.contact);
        ASSERT_EQ(model.Scene().LineEnterWireRight.Y1, row.lowerEnd);
        const double aboveBearing = 6228 - static_cast<double>(row.lowerEnd);
        EXPECT_EQ(figures.Meeting.AboveBearing, aboveBearing / 26000);
        EXPECT_EQ(figures.Meeting.PercentOfReduction, 100 * aboveBearing / (6228 - 4044));
    }
}

TEST(ExportFigures, ElongationIsTheGainInLength) {
    // (22 / 12)² - 1 = 85 / 36, 236.1 %; the diameters' decimal rounding leaves it an ulp low.
    EXPECT_EQ(ElongationPercent(0.022, 0.012), std::nextafter(2125.0 / 9, 0.0));
    EXPECT_EQ(ElongationPercent(2, 1), 300);
    // The same die in millimetres: other decimals, rounded otherwise, a few ulps apart.
    EXPECT_NEAR(ElongationPercent(0.5588, 0.3048), ElongationPercent(0.022, 0.012), 1e-12);
}

// The title block reads the last Calculate: fields typed and a unit switched afterwards change
// nothing on the sheet until Calculate is pressed again.
TEST_F(ExportFiguresTest, TitleBlockKeepsTheLastCalculate) {
    UseDefaultProfile();
    model.Command1_Click();
    Type(2, "40");
    model.ChooseOption(1);
    const std::vector<TitleRow> rows = TitleBlockRows(TitleBlockOf(
        *model.LastCalculation(), model.Scene(), "d.dieprofile", "16 : 1", "2026-01-02"));
    auto value = [&rows](std::string_view caption) {
        for (const TitleRow& row : rows) {
            if (row.Caption == caption) {
                return row.Value;
            }
        }
        return std::string("(no row)");
    };
    EXPECT_EQ(value("Reduction Angle (degrees)"), "25.0");
    EXPECT_EQ(value("Outlet Wire Diameter"), "0.012 in");
    EXPECT_EQ(value("Wire Die Blank"), "BLANK");
    EXPECT_EQ(value("Delta Value"), "0.736");
    EXPECT_EQ(value("Area Reduction"), "70.248 %");
    EXPECT_EQ(value("Elongation"), "236.111 %");
    EXPECT_EQ(value("Meeting Point"), "on the reduction cone");
    EXPECT_EQ(value("Above the Bearing"), "0.0226 in, 26.85 % of the reduction zone");
    EXPECT_EQ(value("Entrance Length"), "0.0540 in");
    EXPECT_EQ(value("Unit"), "inches");
    EXPECT_EQ(value("Scale"), "16 : 1");
    EXPECT_EQ(value("Design"), "d.dieprofile");
}

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

TEST_F(ExportFiguresTest, DxfBeforeCalculateIsRefusedAndWritesNothing) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "dieprofile-early-export.dxf";
    std::filesystem::remove(path);
    const std::optional<ExportRefusal> refusal =
        ExportDrawing(model, {path.string(), "Untitled", {}, {}, {}, {}}, nullptr);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->Message, "Cannot export \"" + path.string() +
                                    "\": there is no drawing yet. Press Calculate first.");
    EXPECT_FALSE(std::filesystem::exists(path));
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
TEST_F(ExportFiguresTest, DxfDimensionsTheDieAsTheSheetDoes) {
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
