#include "app/export.h"
#include "app/sheet_content.h"
#include "core/units.h"
#include "model_fixture.h"
#include "output/text_fit.h"

#include <cmath>
#include <regex>

namespace dieprofile::testing {
namespace {

using SheetLayoutTest = ModelTest;

double Length(const PageLine& line) {
    return std::hypot(line.End.X - line.Start.X, line.End.Y - line.Start.Y);
}

bool HasText(const Page& page, const std::string& text) {
    return std::ranges::any_of(page.Texts, [&](const PageText& t) { return t.Text == text; });
}

// A text's lettering from its baseline up to its capital height, as wide as its characters, set
// upright or turned a quarter turn: left, top, right, bottom.
std::array<double, 4> LetteringBox(const PageText& t) {
    const double width = TextWidth(t.Text, t.HeightMm);
    const double before = t.Align == TextAlign::Left     ? 0
                          : t.Align == TextAlign::Centre ? width / 2
                                                         : width;
    return t.AngleDeg == 90 ? std::array<double, 4>{t.At.X - t.HeightMm, t.At.Y - width + before,
                                                    t.At.X, t.At.Y + before}
                            : std::array<double, 4>{t.At.X - before, t.At.Y - t.HeightMm,
                                                    t.At.X - before + width, t.At.Y};
}

// Whether two texts' lettering meets.
bool Overlap(const PageText& a, const PageText& b) {
    const auto p = LetteringBox(a);
    const auto q = LetteringBox(b);
    return p[0] < q[2] && q[0] < p[2] && p[1] < q[3] && q[1] < p[3];
}

// A point is an end of some line of this width within 0.05 mm.
bool IsLineEnd(const Page& page, Point p, double width) {
    return std::ranges::any_of(page.Lines, [&](const PageLine& l) {
        return l.WidthMm == width && (std::hypot(l.Start.X - p.X, l.Start.Y - p.Y) <= 0.05 ||
                                      std::hypot(l.End.X - p.X, l.End.Y - p.Y) <= 0.05);
    });
}

// Blanks from the smallest to the largest of the catalogue, in both units, with profiles that
// leave a zone out; each sheet is read back from its page as a drafter would check it.
TEST_F(SheetLayoutTest, SheetIsTrueToItsScaleAndDimensionedAsDrafted) {
    const struct {
        const char* name;
        int row; // catalogue row; 26 is a blank of one's own, 0.180 x 0.180
        int unit;
        const char* exitLength;
        Paper paper;
        const char* scale;
        const char* bearingLength = "50.0";
        // Else the default die's blank, wires and none.
        const char* diameter = nullptr;
        const char* height = nullptr;
        const char* tolerance = "";
        const char* outlet = nullptr;
        const char* incoming = nullptr;
    } rows[] = {
        {"default die in inches", 26, 0, "20.0", Paper::A4, "20:1"},
        {"default die in millimetres", 26, 1, "20.0", Paper::A4, "20:1"},
        {"smallest SCS blank", 15, 1, "20.0", Paper::Letter, "50:1"},
        {"largest diamond blank", 14, 1, "20.0", Paper::A4, "2:1"},
        {"largest diamond blank on A3", 14, 0, "20.0", Paper::A3, "5:1"},
        {"no exit relief", 26, 0, "0", Paper::Tabloid, "20:1"},
        {"very short bearing and back relief", 26, 0, "3.0", Paper::A4, "20:1", "8.0"},
        {"very short bearing in millimetres", 26, 1, "20.0", Paper::A4, "20:1", "5.0"},
        // Blanks of one's own too narrow for the bore's diameters in their cut face.
        {"tiny blank", 26, 1, "20.0", Paper::A4, "50:1", "50.0", "1.2", "1.0", "+0.002/-0"},
        {"tiny blank in inches", 26, 0, "20.0", Paper::A4, "50:1", "50.0", "0.047", "0.040",
         "+0.0001/-0"},
        {"steel blank at 10:1", 26, 1, "20.0", Paper::A4, "10:1", "50.0", "6.0", "4.0",
         "+0.005/-0"},
        {"thick wire on a 9 mm blank", 26, 1, "20.0", Paper::A4, "5:1", "50.0", "9", "9",
         "+0.005/-0.002", "5.0", "6.0"},
        {"thick wire on a blank as wide as the sheet", 26, 1, "20.0", Paper::A4, "20:1", "50.0",
         "2.06", "1.4", "+0.002/-0", "0.7", "0.875"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.ChooseOption(row.unit);
        model.PickRow(row.row);
        if (row.row == 26) {
            Type(10, row.diameter ? row.diameter : row.unit == 0 ? "0.180" : "4.572");
            Type(5, row.height ? row.height : row.unit == 0 ? "0.180" : "4.572");
        }
        Type(1, row.incoming ? row.incoming : row.unit == 0 ? "0.022" : "0.5588");
        Type(0, row.outlet ? row.outlet : row.unit == 0 ? "0.012" : "0.3048");
        Type(6, row.exitLength);
        Type(3, row.bearingLength);
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation());
        DrawingIdentity identity;
        identity.BearingTolerance = row.tolerance;
        const SheetContent content =
            SheetContentOf(*model.LastCalculation(), model.Scene(), "Die 7.dieprofile", identity,
                           {}, row.paper, "2026-12-08");
        const Page page = LayOutSheet(content);
        const SheetSection& s = content.Section;
        const double unit = s.UnitDivisor;
        const bool inches = unit == kInchUnitDivisor;

        EXPECT_DOUBLE_EQ(page.WidthMm, LandscapeSize(row.paper).WidthMm);
        EXPECT_EQ(SheetScaleOf(content).Text(), row.scale);
        EXPECT_TRUE(HasText(page, row.scale));
        EXPECT_TRUE(HasText(page, inches ? "DIMENSIONS IN INCHES" : "DIMENSIONS IN MILLIMETRES"));
        EXPECT_TRUE(HasText(page, "Die 7")); // the drawing number is the design's name
        EXPECT_TRUE(HasText(page, std::string(PaperName(row.paper))));

        // The outline: the blank's extent and every corner of the wall, at true size × scale.
        Bounds outline;
        for (const PageLine& line : page.Lines) {
            if (line.WidthMm == 0.5) {
                outline.Add(line.Start);
                outline.Add(line.End);
            }
        }
        const double k = unit * SheetScaleOf(content).Ratio();
        EXPECT_DOUBLE_EQ(outline.Width(), s.BlankDiameter * k);
        EXPECT_DOUBLE_EQ(outline.Height(), s.BlankHeight * k);
        const double axis = (outline.MinX + outline.MaxX) / 2;
        for (const Point p : s.Wall) {
            for (const double side : {-1.0, 1.0}) {
                EXPECT_TRUE(IsLineEnd(page, {axis + side * p.X * k, outline.MaxY - p.Y * k}, 0.5))
                    << "wall corner " << p.X << ", " << p.Y;
            }
        }

        // Line types: one axis, the two wires' edges, hatching at 45°.
        int centre = 0;
        int phantom = 0;
        int hatch = 0;
        for (const PageLine& line : page.Lines) {
            centre += line.Type == LineType::Centre ? 1 : 0;
            phantom += line.Type == LineType::Phantom ? 1 : 0;
            const double dx = line.End.X - line.Start.X;
            const double dy = line.End.Y - line.Start.Y;
            if (line.WidthMm == 0.25 && line.Type == LineType::Continuous && Length(line) > 0.5 &&
                std::abs(std::abs(dx) - std::abs(dy)) < 1e-9 * Length(line)) {
                ++hatch;
            }
            EXPECT_TRUE(line.WidthMm == 0.25 || line.WidthMm == 0.5 || line.WidthMm == 0.7);
        }
        EXPECT_EQ(centre, 1);
        EXPECT_EQ(phantom, 4);
        EXPECT_GT(hatch, 20);

        // Dimensions: diameters with Ø, one number of decimals, angles in degrees, nothing of
        // no length, lettering no smaller than 2.5 mm, all inside the frame.
        // Every diameter a die maker works to: the blank, the incoming wire, and the bore's own
        // at the mouth, the cone's entry, the bearing and the exit opening.
        for (const double diameter : {s.BlankDiameter, s.IncomingDiameter, 2 * s.Wall[0].X,
                                      2 * s.Wall[1].X, 2 * s.Wall[2].X, 2 * s.Wall[4].X}) {
            EXPECT_TRUE(HasText(page, "\u00D8" + SheetLength(diameter, unit)))
                << SheetLength(diameter, unit);
        }
        // No figure stands on another, however short its zone, nor a length across the blank's
        // outline, however narrow its cut face. (An angle's value beyond a short bell or back
        // relief still may.)
        for (std::size_t i = 0; i < page.Texts.size(); ++i) {
            const auto [left, top, right, bottom] = LetteringBox(page.Texts[i]);
            EXPECT_TRUE((left > outline.MinX && right < outline.MaxX && top > outline.MinY &&
                         bottom < outline.MaxY) ||
                        right < outline.MinX || left > outline.MaxX || bottom < outline.MinY ||
                        top > outline.MaxY || page.Texts[i].Text.ends_with("\u00B0"))
                << page.Texts[i].Text << " across the blank's outline";
            for (std::size_t j = i + 1; j < page.Texts.size(); ++j) {
                EXPECT_FALSE(Overlap(page.Texts[i], page.Texts[j]))
                    << page.Texts[i].Text << " on " << page.Texts[j].Text;
            }
        }
        EXPECT_EQ(content.Material.starts_with("own blank \u00D8"), row.row == 26)
            << content.Material;
        EXPECT_TRUE(HasText(page, "25\u00B0"));
        EXPECT_TRUE(HasText(page, "50\u00B0"));
        const std::regex number(inches ? R"(\u00D8?\d+\.\d{4})" : R"(\u00D8?\d+\.\d{3})");
        const std::regex anyNumber(R"(\u00D8?-?\d*\.\d+)");
        for (const PageText& text : page.Texts) {
            EXPECT_GE(text.HeightMm, 2.5) << text.Text;
            EXPECT_TRUE(text.At.X > 20 && text.At.X < page.WidthMm - 10 && text.At.Y > 10 &&
                        text.At.Y < page.HeightMm - 10)
                << text.Text;
            if (text.HeightMm == 3.5 && std::regex_match(text.Text, anyNumber)) {
                EXPECT_TRUE(std::regex_match(text.Text, number)) << text.Text;
                EXPECT_EQ(text.Text.find_first_not_of("\u00D8.0"),
                          text.Text.find_first_of("123456789"))
                    << "a dimension of no length: " << text.Text;
            }
        }
        const int exitZones = std::string(row.exitLength) == "0" ? 0 : 1;
        EXPECT_EQ(HasText(page, SheetLength(s.Wall[3].Y, unit)), exitZones == 1);
        EXPECT_EQ(std::ranges::count(page.Texts, std::string("50\u00B0"), &PageText::Text),
                  1 + exitZones);
    }
}

TEST(SheetScaleTest, LargestScaleOfTheSeriesThatFits) {
    const struct {
        double ratio;
        const char* scale;
    } rows[] = {
        {5000, "1000:1"}, {999.9, "500:1"}, {200, "200:1"}, {63, "50:1"},  {19.99, "10:1"},
        {2.5, "2:1"},     {1.6, "1:1"},     {1, "1:1"},     {0.99, "1:2"}, {0.2, "1:5"},
        {0.15, "1:10"},   {0.099, "1:10"},  {1e-9, "1:10"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ChooseSheetScale(row.ratio).Text(), row.scale) << row.ratio;
    }
}

TEST(SheetLengthTest, FourDecimalsInInchesThreeInMillimetres) {
    EXPECT_EQ(SheetLength(0.012, kInchUnitDivisor), "0.0120");
    EXPECT_EQ(SheetLength(0.3048, kMillimetreUnitDivisor), "0.305");
    EXPECT_EQ(SheetLength(-0.00001, kInchUnitDivisor), "0.0000");
    EXPECT_EQ(SheetLength(45, kMillimetreUnitDivisor), "45.000");
}

// The results beside the title block keep the unit's decimals, the inputs typed as numbers too;
// an input that is not a length stays as typed.
TEST_F(SheetLayoutTest, ResultsKeepTheUnitsDecimals) {
    model.ChooseOption(1);
    model.PickRow(26);
    Type(10, "4.572");
    Type(5, "4.572");
    Type(0, "0.3048");
    Type(1, "0.5588");
    model.Command1_Click();
    ASSERT_TRUE(model.LastCalculation());
    Type(2, "25.");
    model.Command1_Click();
    ASSERT_TRUE(model.LastCalculation());
    DrawingIdentity identity;
    identity.BearingTolerance = "+0.0002/-0 in";
    const SheetContent content = SheetContentOf(*model.LastCalculation(), model.Scene(), "",
                                                identity, {}, Paper::A4, "2026-12-08");
    const std::pair<std::string, std::string> expected[] = {
        {"Outlet Wire Diameter", "0.305 mm"},
        {"Incoming Wire Diameter", "0.559 mm"},
        {"Reduction Angle (degrees)", "25"},
        {"Entrance Length", "1.372 mm"},
        {"Bearing Length", "0.152 mm"},
        {"Above the Bearing", "0.573 mm, 26.85 % of the reduction zone"},
        {"Bell Mouth Diameter", "\u00D82.530 mm"},
        {"Cone Entry Diameter", "\u00D81.251 mm"},
        {"Bearing Diameter", "\u00D80.305 +0.00508/0 mm"},
        {"Exit Opening Diameter", "\u00D81.158 mm"},
    };
    for (const auto& [caption, value] : expected) {
        const auto row = std::ranges::find(content.Results, caption, &TitleRow::Caption);
        ASSERT_NE(row, content.Results.end()) << caption;
        EXPECT_EQ(row->Value, value) << caption;
    }
    EXPECT_EQ(content.Identity.Number, "(not saved)");
    EXPECT_EQ(content.Material, "own blank \u00D84.572 \u00D7 4.572 mm");

    // A whole number is written without the window's point: 22 to 20 thou elongates by 21 %.
    model.ChooseOption(0);
    Type(0, "0.020");
    Type(1, "0.022");
    model.Command1_Click();
    ASSERT_TRUE(model.LastCalculation());
    const SheetContent whole = SheetContentOf(*model.LastCalculation(), model.Scene(), "", {}, {},
                                              Paper::A4, "2026-12-08");
    const auto elongation = std::ranges::find(whole.Results, "Elongation", &TitleRow::Caption);
    ASSERT_NE(elongation, whole.Results.end());
    EXPECT_EQ(elongation->Value, "21 %");
    for (const TitleRow& row : whole.Results) {
        EXPECT_FALSE(std::regex_search(row.Value, std::regex(R"(\d\.( |$))"))) << row.Value;
    }
}

// Tolerances as die makers type them, written as ISO 129-1 writes them after the size: the
// deviations with the sheet's decimals or more, none of them rounded away, nothing as "0".
TEST(BearingToleranceTest, ReadAsTypedAndWrittenAsDrafted) {
    const struct {
        const char* typed;
        double typedIn; // the unit of a tolerance typed without one
        double sheet;
        std::array<std::string, 2> written; // empty: refused
    } rows[] = {
        {"+0.0002/-0", kInchUnitDivisor, kInchUnitDivisor, {"+0.0002", "0"}},
        {"+0.0002/\u22120.0001 in",
         kMillimetreUnitDivisor,
         kInchUnitDivisor,
         {"+0.0002", "\u22120.0001"}},
        {"0.005/-0.002 mm", kInchUnitDivisor, kMillimetreUnitDivisor, {"+0.005", "\u22120.002"}},
        {"\u00B10.0001 in", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {"\u00B10.00254", ""}},
        {"+-0.01", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {"\u00B10.010", ""}},
        {"0/-0.0003", kInchUnitDivisor, kInchUnitDivisor, {"0", "\u22120.0003"}},
        {"-0.001/-0.003",
         kMillimetreUnitDivisor,
         kMillimetreUnitDivisor,
         {"\u22120.001", "\u22120.003"}},
        {"-0.001/+0.001", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
        {"0/0", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
        {"+0.001", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
        {"1e300/0", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
        {"+0.001/nan", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
        {"abc", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
        {"", kMillimetreUnitDivisor, kMillimetreUnitDivisor, {}},
    };
    for (const auto& row : rows) {
        const std::optional<BearingTolerance> read = ParseBearingTolerance(row.typed, row.typedIn);
        ASSERT_EQ(read.has_value(), !row.written[0].empty()) << row.typed;
        if (read) {
            EXPECT_EQ(DeviationTexts(*read, row.sheet), row.written) << row.typed;
        }
    }
}

// A blank of one's own of any size: what the sheet cannot draw at 1:10 is refused in words before
// any of it is laid out; what it can is drawn with no more lines than the paper holds.
TEST_F(SheetLayoutTest, BlankOfAnySizeIsBoundedBeforeLayout) {
    const struct {
        const char* diameter; // millimetres, the height the same
        Paper paper;
        bool drawn;
    } rows[] = {
        {"80", Paper::A4, true},   {"1000", Paper::A4, false}, {"1000", Paper::A3, true},
        {"6e7", Paper::A4, false}, {"6e12", Paper::A3, false}, {"1e300", Paper::A4, false},
    };
    model.ChooseOption(1);
    model.PickRow(26);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.diameter);
        Type(10, row.diameter);
        Type(5, row.diameter);
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation());
        const auto sheet = DrawingSheetOf(*model.LastCalculation(), model.Scene(), "", row.paper);
        ASSERT_EQ(sheet.HasValue(), row.drawn);
        if (row.drawn) {
            EXPECT_LT(sheet->Lines.size(), 2000U);
        } else {
            EXPECT_TRUE(std::regex_match(
                sheet.Error().Message,
                std::regex("the blank \u00D8[0-9.]+ \u00D7 [0-9.]+ mm does not fit the " +
                           std::string(PaperName(row.paper)) +
                           " sheet even at 1:10, the smallest scale of the drawing")))
                << sheet.Error().Message;
        }
    }
}

} // namespace
} // namespace dieprofile::testing
