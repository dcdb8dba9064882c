// The export use case's decisions: which profiles may leave the program, the format by the name,
// an output that is its own input, a band wider than the die.
#include "app/export.h"
#include "app/page_dump.h"
#include "catalogue/catalogue.h"
#include "core/number_text.h"
#include "die_set_fixture.h"
#include "model_fixture.h"
#include "support/refusal_of.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace dieprofile::testing {
namespace {

namespace fs = std::filesystem;

class ExportTest : public ModelTest {
protected:
    ExportTest() {
        folder = fs::temp_directory_path() / ("export-test-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~ExportTest() override { fs::remove_all(folder); }

    std::optional<ExportRefusal> Export(const std::string& name,
                                        std::optional<OverlayOptions> chart = {}) {
        return RefusalOf(ExportDrawing(
            model, {(folder / name).string(), "die.dieprofile", chart, {}, {}, {}}, nullptr));
    }

    fs::path folder;
};

struct ImpossibleCase {
    const char* Name;
    int Row; // 26: the custom blank of 0.180 x 0.180 in
    std::vector<std::pair<int, std::string>> Fields;
    const char* Fault;
};

TEST_F(ExportTest, AProfileThatCannotBeMadeIsRefusedInTheDieMakersWords) {
    const ImpossibleCase cases[] = {
        {"reduction angle 180", 26, {{2, "180"}}, "the bore is wider than the blank"},
        {"negative reduction angle",
         26,
         {{2, "-10"}},
         "the reduction cone is narrower than the bearing"},
        {"entrance 90 %, exit 90 %",
         26,
         {{4, "90"}, {6, "90"}},
         "the entrance and exit zones overlap"},
        {"blank narrower than the wire", 26, {{10, "0.010"}}, "the bore is wider than the blank"},
        {"catalogue blank narrower than the wire",
         1,
         {{0, "0.5"}, {1, "0.6"}},
         "the bore is wider than the blank"},
        {"wire wider than the blank",
         26,
         {{1, "0.3"}},
         "the incoming wire is wider than the blank"},
        {"outlet 0", 26, {{0, "0"}}, "the outlet is too small to be made"},
        {"subnormal outlet", 26, {{0, "1e-310"}}, "the outlet is too small to be made"},
        {"no bearing", 26, {{3, "0"}}, "the bearing has no length"},
        {"no entrance bell", 26, {{4, "0"}}, "the entrance bell has no length"},
        {"no back relief", 26, {{6, "0"}}, "the back relief has no length"},
        {"bearing longer than the die",
         26,
         {{3, "2000"}},
         "the bearing leaves no room for the reduction cone"},
    };
    for (const ImpossibleCase& c : cases) {
        model.PickRow(c.Row);
        if (c.Row == 26) {
            UseDefaultProfile();
        }
        for (const auto& [index, text] : c.Fields) {
            Type(index, text);
        }
        model.Command1_Click();
        ASSERT_TRUE(model.LastCalculation()) << c.Name << ": the window draws it as designed";
        EXPECT_EQ(CheckProfile(*model.LastCalculation()).Error().Message, c.Fault) << c.Name;
        const auto refusal = Export("die.dxf");
        ASSERT_TRUE(refusal) << c.Name;
        EXPECT_EQ(refusal->Message,
                  "Cannot export \"" + (folder / "die.dxf").string() + "\": " + c.Fault + ".")
            << c.Name;
        EXPECT_FALSE(refusal->UsageMistake) << c.Name;
        EXPECT_FALSE(fs::exists(folder / "die.dxf")) << c.Name;
        // Back to the tool's own profile for the next row.
        Type(0, "0.012");
        Type(1, "0.022");
        for (const int index : {2, 3, 4, 6}) {
            Type(index, index == 2 ? "25.0" : index == 3 ? "50.0" : index == 4 ? "30.0" : "20.0");
        }
    }
}

// Every blank of the catalogue with the tool's own profile, in both units, is a die that can be
// made: none of them may be refused.
TEST_F(ExportTest, EveryCatalogueBlankWithTheDefaultProfileCanBeExported) {
    const int rows = static_cast<int>(CatalogueRows().size());
    for (const int option : {0, 1}) {
        model.ChooseOption(option);
        for (int row = 1; row <= rows; ++row) {
            model.PickRow(row);
            if (row == rows) {
                Type(10, option == 0 ? "0.180" : "4.572");
                Type(5, option == 0 ? "0.180" : "4.572");
            }
            model.Command1_Click();
            ASSERT_TRUE(model.LastCalculation()) << row;
            EXPECT_TRUE(CheckProfile(*model.LastCalculation()))
                << "row " << row << " unit " << option;
        }
    }
    EXPECT_EQ(Export("die.dxf"), std::nullopt);
    EXPECT_TRUE(fs::exists(folder / "die.dxf"));
}

TEST_F(ExportTest, AnOutputThatIsItsOwnInputIsAUsageMistakeAndTouchesNothing) {
    UseDefaultProfile();
    // A design file named like a sheet, saved and then given as the export's output.
    ASSERT_TRUE(model.SaveDesign((folder / "d.pdf").string()));
    model.Command1_Click();
    std::ifstream in(folder / "d.pdf");
    std::stringstream saved;
    saved << in.rdbuf();
    fs::create_symlink("d.pdf", folder / "link.svg");
    fs::create_hard_link(folder / "d.pdf", folder / "hard.dxf");
    fs::create_directory(folder / "sub");
    for (const char* name : {"d.pdf", "sub/../d.pdf", "link.svg", "hard.dxf"}) {
        const auto refusal = Export(name);
        ASSERT_TRUE(refusal) << name;
        EXPECT_EQ(refusal->Message, "Cannot export \"" + (folder / name).string() +
                                        "\": it is the design file \"d.pdf\" itself.")
            << name;
        EXPECT_TRUE(refusal->UsageMistake) << name;
    }
    std::ifstream after(folder / "d.pdf");
    std::stringstream kept;
    kept << after.rdbuf();
    EXPECT_EQ(kept.str(), saved.str());
    EXPECT_TRUE(fs::is_symlink(folder / "link.svg"));
    // Another file beside it is written as usual.
    EXPECT_EQ(Export("other.dxf"), std::nullopt);
}

TEST_F(ExportTest, RefusalsBeforeAnythingIsDrawnAndForTheChart) {
    const struct {
        const char* Name;
        const char* File;
        std::optional<OverlayOptions> Chart;
        bool Calculate;
        std::string Reason;
        bool Usage;
    } cases[] = {
        {"nothing drawn",
         "a.dxf",
         {},
         false,
         "there is no drawing yet. Press Calculate first",
         false},
        {"nothing drawn, chart", "a.pdf", OverlayOptions{}, false,
         "there is no drawing yet. Press Calculate first", false},
        {"another extension",
         "a.png",
         {},
         true,
         "the file name must end in .pdf, .svg or .dxf",
         false},
        {"no extension", "pdf", {}, true, "the file name must end in .pdf, .svg or .dxf", false},
        {"chart as SVG", "a.svg", OverlayOptions{}, true, "the projector chart is written as a PDF",
         true},
        // The custom blank is 0.180 in across: a band of 0.091 either side is wider.
        {"band wider than the die", "a.pdf", OverlayOptions{50, 0.091, OverlayView::Bore}, true,
         "the tolerance band is wider than the die", true},
        {"PDF without painters",
         "a.PDF",
         {},
         true,
         "PDF and SVG are drawn by the window's painters, which are not here",
         false},
    };
    for (const auto& c : cases) {
        UseDefaultProfile();
        if (c.Calculate) {
            model.Command1_Click();
        }
        const auto refusal = Export(c.File, c.Chart);
        ASSERT_TRUE(refusal) << c.Name;
        EXPECT_EQ(refusal->Message,
                  "Cannot export \"" + (folder / c.File).string() + "\": " + c.Reason + ".")
            << c.Name;
        EXPECT_EQ(refusal->UsageMistake, c.Usage) << c.Name;
        EXPECT_FALSE(fs::exists(folder / c.File)) << c.Name;
    }
    // A band just as wide as the die is still drawn.
    EXPECT_TRUE(CheckChart(model, {50, 0.090, OverlayView::Bore}));
}

} // namespace
} // namespace dieprofile::testing

namespace dieprofile::testing {
namespace {

// The set's PDF is decided here: every die's sheet, named after the set file as it is spelt (a
// name holding "%2" once lost it to the pass number) and carrying the user's sheet details as
// Export Drawing's does (they were once left empty), then painted and written; without the
// window's painters nothing is written.
constexpr const char* kDetails[] = {"Wire & Die Works", "A. Drafter", "B. Checker", "ISO 2768-m"};

TEST_F(ExportTest, TheSetsPdfLaysOutEveryDiesSheetUnderTheSetsName) {
    struct Painters : ExportPainters {
        Rendering Svg(const Page&, const std::string&, const std::string&) override {
            return std::string();
        }
        // The schedule's pages come first; a die's sheet names its pass in the title block.
        Rendering Pdf(const std::vector<Page>& pages, const std::string& title) override {
            document = title;
            for (const Page& sheet : pages) {
                std::string named;
                std::size_t details = 0;
                for (const PageText& text : sheet.Texts) {
                    if (text.Text.find(" pass ") != std::string::npos) {
                        named = text.Text;
                    }
                    details += static_cast<std::size_t>(
                        std::count(std::begin(kDetails), std::end(kDetails), text.Text));
                }
                if (named.empty()) {
                    continue;
                }
                titles.push_back(named + (details == std::size(kDetails) ? "" : " (no details)"));
            }
            return std::string("%PDF-");
        }
        std::vector<std::string> titles;
        std::string document;
    } painters;
    DieSetExportRequest request{(folder / "set.pdf").string(), (folder / "a%2 set.dieset").string(),
                                DieSetExportFormat::Pdf};
    request.Details = {kDetails[0], kDetails[1], kDetails[2], kDetails[3]};
    EXPECT_EQ(ExportDieSet(CopperSet(), request, nullptr).Error().Message,
              "Cannot export \"" + request.Path +
                  "\": PDF and SVG are drawn by the window's painters, which are not here.");
    EXPECT_FALSE(fs::exists(request.Path));
    EXPECT_TRUE(ExportDieSet(CopperSet(), request, &painters));
    EXPECT_EQ(painters.titles, (std::vector<std::string>{
                                   "a%2 set.dieset pass 1 of 6", "a%2 set.dieset pass 2 of 6",
                                   "a%2 set.dieset pass 3 of 6", "a%2 set.dieset pass 4 of 6",
                                   "a%2 set.dieset pass 5 of 6", "a%2 set.dieset pass 6 of 6"}));
    EXPECT_EQ(painters.document, "Die set a%2 set.dieset");
    std::ifstream written(request.Path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "%PDF-");
}

TEST(PageDump, WritesEveryItemOfEveryPageInItsLine) {
    Page first{297, 210, {}, {}, {}};
    first.Lines.push_back({{10, 20.5}, {30, 40}, 0.35, LineType::Centre});
    first.Lines.push_back({{0, 0}, {1.0 / 3, 0}, 0.7, LineType::Continuous});
    first.Outlines.push_back({{{1, 2}, {3, 4}, {5, 6}}, true, 0.25});
    first.Outlines.push_back({{{0, 0}, {10, 0}}, false, 0.5});
    first.Texts.push_back({{5, 6}, "Ø 0.305 \"mm\" \\", 3.5, TextAlign::Right, 90, true, false});
    first.Texts.push_back(
        {{7, 8}, std::string("a\x1b]0;b\x07", 7), 2.5, TextAlign::Centre, 0, false, true});
    const Page second{210, 297, {{{1, 1}, {2, 2}, 0.25, LineType::Phantom}}, {}, {}};
    const Page third{10, 10, {{{1, 1}, {2, 2}, 0.25, LineType::Dashed}}, {}, {}};
    EXPECT_EQ(DumpPages({first, second, third}),
              "begin pages 3\n"
              "page 1 297 210\n"
              "line 10 20.5 30 40 0.35 centre\n"
              "line 0 0 0.333333333 0 0.7 continuous\n"
              "outline filled 0.25 1 2 3 4 5 6\n"
              "outline drawn 0.5 0 0 10 0\n"
              "text 5 6 3.5 right 90 bold \"Ø 0.305 \\\"mm\\\" \\\\\"\n"
              "text 7 8 2.5 centre 0 mono \"a\\u001B]0;b\\u0007\"\n"
              "page 2 210 297\n"
              "line 1 1 2 2 0.25 phantom\n"
              "page 3 10 10\n"
              "line 1 1 2 2 0.25 dashed\n"
              "end pages\n");
    EXPECT_EQ(DumpPages({}), "begin pages 0\nend pages\n");
}

TEST_F(ExportTest, LayingOutDecidesAsWritingDoesAndWritesNothing) {
    UseDefaultProfile();
    model.Command1_Click();
    ExportRequest sheet{
        (folder / "sheet.svg").string(), "die.dieprofile", {}, {}, {}, {}, "2001-02-03"};
    auto laidOut = LayOutExport(model, sheet);
    ASSERT_TRUE(laidOut.HasValue());
    const LaidOutExport& made = *laidOut;
    EXPECT_EQ(made.Format, ExportFormat::Svg);
    ASSERT_EQ(made.Pages.size(), 1U);
    EXPECT_GT(made.Pages.front().WidthMm, made.Pages.front().HeightMm);
    EXPECT_EQ(made.Title, "Die Profile: die.dieprofile");
    const auto dated =
        std::find_if(made.Pages.front().Texts.begin(), made.Pages.front().Texts.end(),
                     [](const PageText& text) { return text.Text == "2001-02-03"; });
    EXPECT_NE(dated, made.Pages.front().Texts.end()) << "the sheet bears the date asked for";
    ExportRequest chart = sheet;
    chart.Path = (folder / "chart.pdf").string();
    chart.Chart = OverlayOptions{20, 0, OverlayView::Bore};
    laidOut = LayOutExport(model, chart);
    ASSERT_TRUE(laidOut.HasValue());
    EXPECT_EQ(laidOut->Pages.size(), laidOut->Notes.ChartPages);
    EXPECT_FALSE(fs::exists(folder / "sheet.svg"));
    EXPECT_FALSE(fs::exists(folder / "chart.pdf"));
}

// A blank of one's own of any size: the DXF keeps its few entities and refuses only a die whose
// construction leaves a double's range; the chart counts its pages before it makes one. The
// chart's foot names the drawing by its identity.
TEST_F(ExportTest, AnySizeOfBlankIsBoundedBeforeItIsBuilt) {
    UseDefaultProfile();
    model.Command1_Click();
    model.SetIdentity({"D-9", "Big", "C"});
    ExportRequest request{
        (folder / "c.pdf").string(), "c.dieprofile", OverlayOptions{}, {}, {}, {}, {}};
    const auto chart = *LayOutExport(model, request);
    EXPECT_TRUE(std::ranges::any_of(chart.Pages.front().Texts, [](const PageText& text) {
        return text.Text.starts_with("D-9 Big, rev. C (c.dieprofile)    magnification 50");
    }));
    for (const auto& [size, written] : {std::pair{"6e12", true}, std::pair{"1e300", false}}) {
        UseDefaultProfile(true);
        Type(10, size); // millimetres, the wires in the default's proportion
        Type(5, size);
        Type(0, NumberToText(std::stod(size) / 15));
        Type(1, NumberToText(std::stod(size) * 11 / 90));
        model.Command1_Click();
        request = {(folder / "c.pdf").string(),
                   "c.dieprofile",
                   OverlayOptions{1, 0, OverlayView::Section},
                   {},
                   {},
                   {},
                   {}};
        EXPECT_EQ(LayOutExport(model, request).Error().Message,
                  "At 1x the overlay would need more than a billion pages; at most 10000 can be "
                  "printed.");
        request.Chart.reset();
        request.Path = (folder / "big.dxf").string();
        const auto dxf = LayOutExport(model, request);
        if (written) {
            EXPECT_LT(dxf->Dxf.size(), 64U * 1024);
        } else {
            EXPECT_EQ(dxf.Error().Message, CannotExport(request.Path, kTooLargeForDxf));
        }
    }
}

} // namespace
} // namespace dieprofile::testing
