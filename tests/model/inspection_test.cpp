// Synthetic dies held against the real calculated design: its wall sampled densely, changed in a
// known way, moved into an instrument's frame and written as the instruments write it; the
// figures must come back. And the readers' refusals.
#include "app/inspection_model.h"
#include "core/number_text.h"
#include "model_fixture.h"
#include "support/test_path.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace dieprofile::testing {
namespace {

enum class Change { None, ReductionAngle, WiderBearing, LongerBearing, WearRing };
enum class Form { Csv, Blanks, SemicolonComma, OtherUnitNamed, Dxf };

struct DieRow {
    const char* Name;
    Change What;
    bool BothWalls;
    bool EntranceUp;
    bool Millimetres;
    bool FitAxis;
    double Noise; // standard deviation, as a share of the die's height
    Form Written;
    // Points along the wall: past the alignment's share of a large file, the zones and the axis
    // are taken from that share and then fitted on every point.
    int Density = 3000;
};

Point Meet(Point a, Point b, Point c, Point d) { // the lines ab and cd
    const Point r = b - a, s = d - c;
    const double t = Cross(c - a, s) / Cross(r, s);
    return {a.X + r.X * t, a.Y + r.Y * t};
}

// The changed die's wall; the ring's depth, height and width as shares of the die's height.
BoreWall Changed(BoreWall w, Change what) {
    const double h = w[0].Y - w[4].Y;
    if (what == Change::ReductionAngle) {
        const double slope = std::tan(std::atan((w[1].X - w[2].X) / (w[1].Y - w[2].Y)) + 0.03);
        w[1] = Meet(w[0], w[1], w[2], {w[2].X + slope, w[2].Y + 1});
    } else if (what == Change::WiderBearing) {
        const Point cone = w[1] - w[2];
        for (std::size_t i = 2; i < 5; ++i) {
            w[i].X += 0.004 * h;
        }
        w[1] = Meet(w[0], w[1], w[2], {w[2].X + cone.X, w[2].Y + cone.Y});
    } else if (what == Change::LongerBearing) {
        const Point back = w[4] - w[3];
        w[3].Y -= 0.3 * (w[3].Y - w[4].Y);
        w[4].X = w[3].X + back.X * (w[3].Y - w[4].Y) / -back.Y;
    }
    return w;
}
constexpr double kRingDepth = 0.002, kRingWidth = 0.04;

class InspectionTest : public ModelTest {
protected:
    InspectionDesign Design(bool millimetres) {
        CalculateDefaultOrMillimetres(millimetres);
        return *InspectionDesignOf(model);
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::string path = ::testing::TempDir() + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

// Points every 1/density of the wall's length; a ring pushed out along the cone's normal.
std::vector<Point> Sampled(const BoreWall& w, double ringHeight, double ringDepth, double ringWidth,
                           int density) {
    double length = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        length += std::hypot(w[k + 1].X - w[k].X, w[k + 1].Y - w[k].Y);
    }
    std::vector<Point> points;
    for (std::size_t k = 0; k < 4; ++k) {
        const Point d = w[k + 1] - w[k];
        const double l = std::hypot(d.X, d.Y);
        const int n = static_cast<int>(std::ceil(density * l / length));
        for (int i = 0; i < n; ++i) {
            Point p{w[k].X + d.X * i / n, w[k].Y + d.Y * i / n};
            const double t = (p.Y - w[2].Y - ringHeight) / ringWidth;
            if (k == 1 && std::abs(t) < 1) {
                const double bump = ringDepth * std::pow(std::cos(std::numbers::pi * t / 2), 2);
                p = {p.X - bump * d.Y / l, p.Y + bump * d.X / l};
            }
            points.push_back(p);
        }
    }
    points.push_back(w[4]);
    return points;
}

std::string Text(double v, bool comma) {
    std::string text = ShortestText(v);
    if (comma) {
        std::replace(text.begin(), text.end(), '.', ',');
    }
    return text;
}

// One wall a polyline in a DXF, perWall points each.
std::string FileText(const std::vector<Point>& points, std::size_t perWall, Form form, double scale,
                     bool mm) {
    if (form == Form::Dxf) {
        std::string dxf = "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n" +
                          std::string(mm ? "4" : "1") + "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point p = points[i];
            dxf += i % perWall == 0 ? "0\nLWPOLYLINE\n8\nWALL\n" : "";
            dxf += "10\n" + Text(p.X * scale, false) + "\n20\n" + Text(p.Y * scale, false) + "\n";
        }
        return dxf + "0\nENDSEC\n0\nEOF\n";
    }
    const bool comma = form == Form::SemicolonComma;
    const std::string gap = form == Form::Blanks ? "  " : comma ? ";" : ",";
    const std::string unit = form == Form::OtherUnitNamed ? (mm ? "_in" : "_mm") : "";
    std::string text = "# stage readings\nn" + gap + "x" + unit + gap + "Y" + unit + "\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        text += std::to_string(i);
        text += gap;
        text += Text(points[i].X * scale, comma);
        text += gap;
        text += Text(points[i].Y * scale, comma);
        text += '\n';
    }
    return text;
}

class SyntheticDies : public InspectionTest, public ::testing::WithParamInterface<DieRow> {};

TEST_P(SyntheticDies, GiveBackTheirFigures) {
    const DieRow row = GetParam();
    const InspectionDesign design = Design(row.Millimetres);
    const double h = design.Wall[0].Y - design.Wall[4].Y;
    const BoreWall die = Changed(design.Wall, row.What);
    const double ringHeight = 0.4 * (die[1].Y - die[2].Y);
    const bool ring = row.What == Change::WearRing;
    std::vector<Point> wall =
        Sampled(die, ringHeight, ring ? kRingDepth * h : 0, kRingWidth * h, row.Density);
    // Into the instrument's frame: entrance either way, shifted; across too and tilted when the
    // axis is fitted (one wall keeps the file's direction of the axis).
    const double tilt = row.BothWalls ? 0.02 : 0;
    const double dx = row.BothWalls || row.FitAxis ? 3.1 * h : 0, dy = -7.3 * h;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, row.Noise * h);
    std::vector<Point> file;
    for (const double side : row.BothWalls ? std::vector{1.0, -1.0} : std::vector{1.0}) {
        for (const Point& p : wall) {
            const double x = side * p.X + noise(random), y = (row.EntranceUp ? 1 : -1) * p.Y;
            file.push_back({x * std::cos(tilt) + y * std::sin(tilt) + dx,
                            -x * std::sin(tilt) + y * std::cos(tilt) + dy});
        }
    }
    // The file's unit: the design's, or the other one named in the header.
    const bool other = row.Written == Form::OtherUnitNamed;
    const double scale =
        other ? (row.Millimetres ? 1 / kMillimetresPerInch : kMillimetresPerInch) : 1;
    const std::string path =
        Write(std::string(row.Name) + (row.Written == Form::Dxf ? ".dxf" : ".csv"),
              FileText(file, wall.size(), row.Written, scale, row.Millimetres));
    InspectionModel inspection(toolkit, model);
    inspection.SetFitAxis(row.FitAxis);
    ASSERT_TRUE(inspection.OpenMeasured(path)) << toolkit.Messages.back();
    const Inspection& got = *inspection.Result();
    EXPECT_EQ(got.Fit.BothWalls, row.BothWalls);
    EXPECT_EQ(got.Fit.Direction, row.EntranceUp ? 1 : -1);

    const DesignFigures want = DesignFiguresOf(die);
    const double exact = 1e-9 * h;
    const double length = row.Noise > 0 ? 2e-3 * h : exact;
    const double angle = row.Noise > 0 ? 0.3 : 1e-6;
    for (std::size_t zone = 0; zone < kZoneCount; ++zone) {
        SCOPED_TRACE(ZoneName(zone));
        if (want.AngleDeg[zone]) {
            EXPECT_NEAR(got.Zones[zone].AngleDeg.value_or(-1), *want.AngleDeg[zone], angle);
        }
        EXPECT_NEAR(got.Zones[zone].Length.value_or(-1), want.Length[zone], length);
    }
    if (row.FitAxis && !row.BothWalls) {
        EXPECT_FALSE(got.BearingDiameter || got.MouthDiameter || got.ExitDiameter);
    } else {
        EXPECT_NEAR(got.BearingDiameter.value_or(-1), want.BearingDiameter, length);
        EXPECT_NEAR(got.MouthDiameter.value_or(-1), want.MouthDiameter, 2 * length);
        EXPECT_NEAR(got.ExitDiameter.value_or(-1), want.ExitDiameter, 2 * length);
    }
    EXPECT_NEAR(got.Fit.Tilt, tilt, row.Noise > 0 ? 1e-3 : 1e-5);
    if (ring) {
        ASSERT_TRUE(got.Ring);
        EXPECT_NEAR(got.Ring->Depth, kRingDepth * h, 0.1 * kRingDepth * h);
        EXPECT_NEAR(got.Ring->HeightAboveBearing, ringHeight, 0.1 * kRingWidth * h);
        EXPECT_NEAR(got.Ring->Width, kRingWidth * h, 0.15 * kRingWidth * h);
        // Deeper than the band: outside, in the reduction cone, where the ring is.
        ASSERT_TRUE(inspection.SetToleranceText(ShortestText(kRingDepth * h / 2)));
        EXPECT_EQ(inspection.Verdict().substr(0, 37), "outside tolerance: reduction zone by ");
    }
    // The report has each row once, in the order given, and the verdict follows the band.
    const std::string csv = inspection.ReportCsv();
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 22);
    EXPECT_NE(
        csv.find("\nbearing_length," + ShortestText(design.Wall[2].Y - design.Wall[3].Y) + ","),
        std::string::npos);
    if (row.What == Change::None) {
        ASSERT_TRUE(inspection.SetToleranceText(ShortestText(5 * row.Noise * h + exact)));
        EXPECT_EQ(inspection.Verdict(), "within tolerance");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SyntheticDies,
    ::testing::Values(
        DieRow{"as_designed_both", Change::None, true, true, false, false, 0, Form::Csv},
        DieRow{"as_designed_one_down_mm", Change::None, false, false, true, false, 0, Form::Blanks},
        DieRow{"cone_angle_both_down", Change::ReductionAngle, true, false, false, false, 0,
               Form::SemicolonComma},
        DieRow{"cone_angle_one_mm", Change::ReductionAngle, false, true, true, false, 0, Form::Csv},
        DieRow{"wider_bearing_both_mm", Change::WiderBearing, true, true, true, false, 0,
               Form::OtherUnitNamed},
        DieRow{"wider_bearing_one", Change::WiderBearing, false, false, false, false, 0, Form::Dxf},
        DieRow{"longer_bearing_both", Change::LongerBearing, true, false, false, false, 0,
               Form::Dxf},
        DieRow{"longer_bearing_fit_axis", Change::LongerBearing, false, true, true, true, 0,
               Form::Csv},
        DieRow{"ring_both_noisy", Change::WearRing, true, true, false, false, 2e-6, Form::Csv},
        DieRow{"ring_one_mm", Change::WearRing, false, false, true, false, 0, Form::OtherUnitNamed},
        DieRow{"noisy_both_mm", Change::None, true, false, true, false, 1e-4, Form::Blanks},
        DieRow{"noisy_fit_axis", Change::ReductionAngle, false, true, false, true, 1e-4, Form::Csv},
        DieRow{"dense_cone_angle_both_mm", Change::ReductionAngle, true, true, true, false, 0,
               Form::Csv, 40000},
        DieRow{"dense_longer_bearing_one_down", Change::LongerBearing, false, false, false, false,
               0, Form::Blanks, 30000},
        DieRow{"dense_ring_both_noisy", Change::WearRing, true, false, false, false, 2e-6,
               Form::Csv, 40000}),
    [](const auto& info) { return std::string(info.param.Name); });

// A file that is refused names the row or line, and leaves the window as it was.
TEST_F(InspectionTest, RefusesBadFilesInOneMessage) {
    const InspectionDesign design = Design(false);
    std::string good = "x,y\n";
    for (const Point& p : Sampled(design.Wall, 0, 0, 1, 3000)) {
        good += ShortestText(p.X) + "," + ShortestText(p.Y) + "\n";
    }
    std::string mm = "x,y\n";
    for (const Point& p : Sampled(design.Wall, 0, 0, 1, 3000)) {
        mm += ShortestText(p.X * 25.4) + "," + ShortestText(p.Y * 25.4) + "\n";
    }
    const std::string tenPoints = "1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n8 8\n9 9\n";
    const std::string dxfHead = "0\nSECTION\n2\nENTITIES\n";
    const struct {
        const char* Name;
        std::string Text;
        const char* Message;
    } rows[] = {
        {"a.csv", "1,2\n3,4\n", "row 1: there is no header naming the columns x and y"},
        {"b.csv", "# instrument\nn,z\n1,2\n", "row 2: the header names no columns x and y"},
        {"c.csv", "x_mm,y_in\n", R"(row 1: mixed units: "x_mm" and "y_in")"},
        {"d.txt", "x;y\n1;2\n0,15x;3\n", R"(row 3: "0,15x" is not a number)"},
        {"e.csv", "x,y\n1e999,1\n", R"(row 2: "1e999" is not a finite number)"},
        {"f.csv", "x,y\n1\n", "row 2: it has 1 columns, not 2"},
        {"g.csv", "x y\n" + tenPoints.substr(0, 12), "it holds 3 points; at least 10 are needed"},
        {"h.csv", "x y\n1 1\n\xff 2\n", "row 3: it is not UTF-8 text"},
        {"i.dxf", dxfHead + "0\nTEXT\n1\nhello\n0\nENDSEC\n0\nEOF\n",
         "it holds no LINE, POLYLINE, LWPOLYLINE or ARC in its ENTITIES"},
        {"j.dxf", "abc\nSECTION\n", R"(line 1: "abc" is not a group code)"},
        {"k.dxf", dxfHead + "0\nLINE\n10\n", "it ends in the middle of a group"},
        {"l.dxf", "0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n", "it has no ENTITIES section"},
        {"m.csv", "x y\n" + tenPoints + "1 2.5e9999\n",
         R"(row 11: "2.5e9999" is not a finite number)"},
        {"n.csv", "x y\n" + tenPoints + "10 10\n", "the measured points do not match the design ("},
        {"o.csv", mm, "apart on average after alignment): are they in millimetres?"},
    };
    InspectionModel inspection(toolkit, model);
    ASSERT_TRUE(inspection.OpenMeasured(Write("good.csv", good)));
    const std::string report = inspection.ReportCsv();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_FALSE(inspection.OpenMeasured(Write(row.Name, row.Text)));
        EXPECT_THAT(toolkit.Messages.back(),
                    ::testing::StartsWith("Cannot inspect \"" + std::string(row.Name) + "\": "));
        EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr(row.Message));
        EXPECT_EQ(inspection.ReportCsv(), report);
    }
    // Not a regular file, refused without waiting for a writer; too large, before reading it.
    const std::string fifo = TestPath("stage.fifo");
    ::unlink(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(inspection.OpenMeasured(fifo));
    EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr("it is not a regular file"));
    const std::string large = Write("large.csv", "x,y\n");
    ASSERT_EQ(::truncate(large.c_str(), kMaxMeasuredBytes + 1), 0);
    EXPECT_FALSE(inspection.OpenMeasured(large));
    EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr("it is larger than 64 MiB"));
    std::string many = "x y\n";
    for (std::size_t i = 0; i <= kMaxMeasuredPoints; ++i) {
        many += "1 2\n";
    }
    EXPECT_EQ(ReadPointList(many).Error().Message, "it holds more than 1000000 points");
    // The report is never written over the measured file.
    const std::string measured = Write("good.csv", good);
    ASSERT_TRUE(inspection.OpenMeasured(measured));
    EXPECT_FALSE(inspection.ExportReport(measured));
    EXPECT_THAT(toolkit.Messages.back(), ::testing::HasSubstr("it is the measured file"));
}

// An arc is flattened to 0.1 % of its radius, a bulge in a polyline as well.
TEST(DxfPoints, ArcsAndBulgesLieOnTheirCircles) {
    const std::string dxf =
        "0\nSECTION\n2\nENTITIES\n0\nARC\n8\nA\n10\n1\n20\n2\n40\n3\n50\n0\n51\n"
        "90\n0\nLWPOLYLINE\n8\nB\n10\n0\n20\n0\n42\n1\n10\n2\n20\n0\n0\nENDSEC\n";
    for (const auto& [layer, centre, radius] :
         {std::tuple{"a", Point{1, 2}, 3.0}, std::tuple{"B", Point{1, 0}, 1.0}}) {
        const auto read = *ReadDxfPoints(dxf, layer);
        EXPECT_GT(read.Points.size(), 20U);
        for (const Point& p : read.Points) {
            const double r = std::hypot(p.X - centre.X, p.Y - centre.Y);
            EXPECT_LE(radius - r, 0.001 * radius + 1e-12);
            EXPECT_LE(r, radius + 1e-12);
        }
    }
}

} // namespace
} // namespace dieprofile::testing

namespace dieprofile::testing {
namespace {

// Every form a point list comes in reads to the same points, in the unit it names.
TEST(PointLists, ReadEveryFormAsWritten) {
    const struct {
        const char* Name;
        std::string Text;
        std::optional<double> Unit;
    } rows[] = {
        {"commas, extra columns", "n,x,y,z\n1,0.5,1.5,9\n2,-2,3e1,9\n", std::nullopt},
        {"semicolons, decimal comma", "x_mm;y_mm\n0,5;1,5\n-2;30\n", 1.0},
        {"tabs, decimal comma", "\xEF\xBB\xBFX_IN\tY_IN\n0,5\t1,5\n-2\t30\n", 25.4},
        {"blanks, comments, blank lines", "# stage\n\n  x   y \n# zero\n0.5  1.5\n\n-2 30\n",
         std::nullopt},
        {"quoted header, CRLF", "\"x\",\"y\"\r\n0.5,1.5\r\n-2,30\r\n", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        std::string text = row.Text;
        for (int i = 0; i < 8; ++i) { // to the ten points a file needs
            text += row.Text.substr(row.Text.rfind('\n', row.Text.size() - 2) + 1);
        }
        const auto read = ReadPointList(text);
        ASSERT_TRUE(read.HasValue()) << read.Error().Message;
        const auto& points = *read;
        EXPECT_EQ(points.UnitDivisor, row.Unit);
        ASSERT_EQ(points.Points.size(), 10U);
        EXPECT_EQ(points.Points[0], (Point{0.5, 1.5}));
        EXPECT_EQ(points.Points[1], (Point{-2, 30}));
    }
}

// The entities of a DXF on the layer asked for (in any case), in the unit of $INSUNITS; what is
// not a wall (a text, another layer, a binary file) is not read.
TEST(DxfPoints, ReadTheEntitiesOfTheLayerInItsUnit) {
    const std::string dxf =
        "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n1\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
        "0\nPOLYLINE\n8\nWall\n66\n1\n0\nVERTEX\n8\nWall\n10\n0\n20\n0\n0\nVERTEX\n8\nWall\n10\n3\n"
        "20\n4\n0\nSEQEND\n0\nLINE\n8\nFRAME\n10\n100\n20\n100\n11\n200\n21\n100\n0\nTEXT\n8\nWall"
        "\n"
        "1\nnote\n0\nENDSEC\n0\nEOF\n";
    const auto wall = *ReadDxfPoints(dxf, "WALL");
    EXPECT_EQ(wall.UnitDivisor, 25.4);
    for (const Point& p : wall.Points) {
        EXPECT_NEAR(p.Y, p.X * 4 / 3, 1e-12); // on the polyline, never on the frame
    }
    EXPECT_EQ(wall.Points.front(), (Point{0, 0}));
    EXPECT_EQ(wall.Points.back(), (Point{3, 4}));
    const auto every = *ReadDxfPoints(dxf, "");
    EXPECT_EQ(every.Points.back(), (Point{200, 100}));
    EXPECT_EQ(ReadDxfPoints("AutoCAD Binary DXF\r\n\x1a", "").Error().Message,
              "it is a binary DXF; save it as an ASCII DXF");
}

// The report's rows are the ones a spreadsheet of reports expects, in their order, and the band
// marks each zone.
TEST_F(InspectionTest, ReportNamesItsRowsInOrderAndMarksEachZone) {
    const InspectionDesign design = Design(false);
    std::string text = "x,y\n";
    for (const Point& p : Sampled(design.Wall, 0, 0, 1, 3000)) {
        text += ShortestText(p.X) + "," + ShortestText(p.Y + (p.Y < design.Wall[3].Y ? 4e-4 : 0)) +
                "\n";
    }
    InspectionModel inspection(toolkit, model);
    ASSERT_TRUE(inspection.SetToleranceText("0.00005"));
    ASSERT_TRUE(inspection.OpenMeasured(Write("shifted_exit.csv", text)));
    std::istringstream csv(inspection.ReportCsv());
    std::string line, names;
    std::map<std::string, std::string> within;
    while (std::getline(csv, line)) {
        names += line.substr(0, line.find(',')) + " ";
        within[line.substr(0, line.find(','))] = line.substr(line.rfind(',') + 1);
    }
    EXPECT_EQ(names,
              "quantity entrance_angle_deg reduction_angle_deg exit_angle_deg entrance_length "
              "reduction_length bearing_length exit_length bearing_diameter mouth_diameter "
              "exit_diameter entrance_max_deviation reduction_max_deviation "
              "bearing_max_deviation exit_max_deviation wear_ring_depth "
              "wear_ring_height_above_bearing wear_ring_width meeting_point_above_bearing "
              "axis_tilt_deg points_used points_left_out ");
    EXPECT_EQ(within["bearing_max_deviation"], "yes");
    EXPECT_EQ(within["exit_max_deviation"], "no");
    EXPECT_EQ(within["exit_length"], "");
    EXPECT_THAT(inspection.Verdict(), ::testing::StartsWith("outside tolerance: exit zone by "));
    // A band that is not a number changes nothing.
    EXPECT_FALSE(inspection.SetToleranceText("wide"));
    EXPECT_EQ(inspection.Options().Tolerance, 0.00005);
}

} // namespace
} // namespace dieprofile::testing
