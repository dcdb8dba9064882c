#include "output/paper.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace dieprofile {
namespace {

TEST(PaperTest, NamesAndSizesOfEveryPaper) {
    struct Row {
        std::string name;
        std::optional<Paper> paper;
        double shortSide;
        double longSide;
    };
    const Row rows[] = {
        {"A4", Paper::A4, 210, 297},
        {"a3", Paper::A3, 297, 420},
        {"LETTER", Paper::Letter, 215.9, 279.4},
        {"Tabloid", Paper::Tabloid, 279.4, 431.8},
        {"A5", std::nullopt, 0, 0},
        {"Legal", std::nullopt, 0, 0},
        {"A4 ", std::nullopt, 0, 0},
        {"", std::nullopt, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<Paper> parsed = ParsePaper(row.name);
        ASSERT_EQ(parsed, row.paper);
        if (!parsed) {
            continue;
        }
        EXPECT_EQ(ParsePaper(PaperName(*parsed)), parsed);
        EXPECT_DOUBLE_EQ(PortraitSize(*parsed).WidthMm, row.shortSide);
        EXPECT_DOUBLE_EQ(LandscapeSize(*parsed).WidthMm, row.longSide);
        // A printer reports its paper either way round, rounded to whole points.
        EXPECT_EQ(PaperOfSize(row.longSide + 0.3, row.shortSide - 0.3), parsed);
    }
}

TEST(PaperTest, DefaultIsThePrintersPaperElseTheLocales) {
    EXPECT_EQ(DefaultPaper(Paper::A3, true), Paper::A3);
    EXPECT_EQ(DefaultPaper(std::nullopt, true), Paper::Letter);
    EXPECT_EQ(DefaultPaper(std::nullopt, false), Paper::A4);
    // Legal is none of ours: the locale decides.
    EXPECT_EQ(PaperOfSize(215.9, 355.6), std::nullopt);
}

} // namespace
} // namespace dieprofile
