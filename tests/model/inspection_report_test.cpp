// The inspection's report on paper, through the inspection model: the deviations drawn at their
// stated factor on either wall, everything inside the frame on every paper in both units, the
// zone beyond its band framed in the table, and a PDF never written without its painters.
#include "app/inspection_model.h"
#include "core/number_text.h"
#include "inspection/report_page.h"
#include "model_fixture.h"
#include "output/text_fit.h"
#include "support/test_path.h"
#include "support/worn_bore.h"

#include <cmath>
#include <filesystem>
#include <fstream>

namespace dieprofile::testing {
namespace {

class InspectionReportTest : public ModelTest {
protected:
    InspectionDesign Calculated(bool millimetres) {
        CalculateDefaultOrMillimetres(millimetres);
        return *InspectionDesignOf(model);
    }
    // A ring a 400th of the die's height deep.
    std::string Measured(const BoreWall& wall) {
        const std::string csv = test::WornBoreCsv(wall, (wall[0].Y - wall[4].Y) / 400, 1);
        std::string path = TestPath("measured.csv");
        std::ofstream(path, std::ios::binary) << csv;
        return path;
    }
};

TEST_F(InspectionReportTest, DeviationsAreDrawnAtTheirFactorOnEitherWall) {
    const BoreWall wall = Calculated(false).Wall;
    // Within each zone, where the wall's normal is the zone's own.
    for (std::size_t k = 0; k + 1 < wall.size(); ++k) {
        const Point on{(wall[k].X + wall[k + 1].X) / 2, (wall[k].Y + wall[k + 1].Y) / 2};
        for (const double side : {-1.0, 1.0}) {
            for (const double off : {-1e-5, 3e-6, 4e-5}) {
                const Point p{side * (on.X + off), on.Y};
                const Point drawn = ExaggeratedPoint(wall, p, 200);
                SCOPED_TRACE(std::to_string(p.X) + "," + std::to_string(p.Y));
                EXPECT_NEAR(WallDeviation(wall, drawn), 200 * WallDeviation(wall, p), 1e-9);
                EXPECT_GT(drawn.X * side, 0); // on the wall it was measured on
            }
        }
    }
}

TEST_F(InspectionReportTest, TheReportStaysInsideItsFrameAndFramesTheZoneBeyondItsBand) {
    for (const bool millimetres : {false, true}) {
        for (const Paper paper : kPapers) {
            InspectionModel inspection(toolkit, model);
            const InspectionDesign design = Calculated(millimetres);
            ASSERT_TRUE(inspection.OpenMeasured(Measured(design.Wall)));
            const double height = design.Wall[0].Y - design.Wall[4].Y;
            for (const double band : {height / 2000, height / 50}) {
                SCOPED_TRACE(std::string(millimetres ? "mm " : "in ") +
                             std::string(PaperName(paper)) + " band " + std::to_string(band));
                ASSERT_TRUE(inspection.SetToleranceText(ShortestText(band)));
                inspection.SetPaper(paper);
                const Page page = *inspection.ReportPage("2026-01-02");
                // Within the frame: 20 mm of filing margin on the left, 10 elsewhere.
                for (const PageText& text : page.Texts) {
                    const double width = TextWidth(text.Text, text.HeightMm);
                    const double left = text.Align == TextAlign::Left    ? text.At.X
                                        : text.Align == TextAlign::Right ? text.At.X - width
                                                                         : text.At.X - width / 2;
                    EXPECT_GE(left, 20) << text.Text;
                    EXPECT_LE(left + width, page.WidthMm - 10) << text.Text;
                    EXPECT_GE(text.At.Y - text.HeightMm, 10) << text.Text;
                    EXPECT_LE(text.At.Y, page.HeightMm - 10) << text.Text;
                }
                for (const PageLine& line : page.Lines) {
                    for (const Point& end : {line.Start, line.End}) {
                        EXPECT_TRUE(end.X >= 20 - 1e-9 && end.X <= page.WidthMm - 10 + 1e-9 &&
                                    end.Y >= 10 - 1e-9 && end.Y <= page.HeightMm - 10 + 1e-9);
                    }
                }
                // The ring is beyond the tight band alone, and only the cone's row is framed.
                const bool tight = band < height / 100;
                EXPECT_EQ(inspection.Result()->Within, !tight);
                std::size_t framed = 0;
                for (const PageOutline& outline : page.Outlines) {
                    framed += outline.Filled ? 0 : 1;
                }
                EXPECT_EQ(framed, tight ? 1U : 0U);
                EXPECT_EQ(std::ranges::any_of(
                              page.Texts, [](const PageText& t) { return t.Text == "OUTSIDE"; }),
                          tight);
            }
        }
    }
}

TEST_F(InspectionReportTest, APdfIsNeverWrittenWithoutItsPainters) {
    InspectionModel inspection(toolkit, model);
    const std::string report = TestPath("report.pdf");
    std::ofstream(report) << "kept";
    EXPECT_FALSE(inspection.ExportReport(report)); // nothing inspected
    ASSERT_TRUE(inspection.OpenMeasured(Measured(Calculated(false).Wall)));
    EXPECT_FALSE(inspection.ExportReport(report)); // no painters
    EXPECT_FALSE(inspection.ExportReport(TestPath("report.txt")));
    ASSERT_EQ(toolkit.Messages.size(), 3U);
    EXPECT_EQ(toolkit.Messages[2], "Cannot export \"" + TestPath("report.txt") +
                                       "\": the file name must end in .pdf or .csv.");
    EXPECT_EQ(std::filesystem::file_size(report), 4U); // "kept", as it was
}

} // namespace
} // namespace dieprofile::testing
