// The blank catalogue and the blank selection: what each row puts in the diamond fields and the
// state, in inches and in millimetres.
#include "catalogue/catalogue.h"
#include "model_fixture.h"

#include <string>

namespace dieprofile::testing {
namespace {

struct BlankRow {
    int Row;
    double DiameterMm;
    double HeightMm;
    const char* DiameterInches; // as the field shows it
    const char* HeightInches;
    const char* DiameterMmText;
    const char* HeightMmText;
};

// Rows 1-14 are diamond blanks, 15-25 SCS blanks (height written before diameter).
const BlankRow kRows[] = {
    {1, 1.5, 1.5, "0.0591", "0.0591", "1.50", "1.50"},
    {2, 4, 2.3, "0.1575", "0.0906", "4.0", "2.30"},
    {3, 4, 2.9, "0.1575", "0.1142", "4.0", "2.90"},
    {4, 7, 4, "0.2756", "0.1575", "7.0", "4.0"},
    {5, 7, 5.3, "0.2756", "0.2087", "7.0", "5.30"},
    {6, 8.7, 7.5, "0.3425", "0.2953", "8.70", "7.50"},
    {7, 13, 9, "0.5118", "0.3543", "13.0", "9.0"},
    {8, 13, 12, "0.5118", "0.4724", "13.0", "12.0"},
    {9, 16, 16, "0.6299", "0.6299", "16.0", "16.0"},
    {10, 19, 19, "0.7480", "0.7480", "19.0", "19.0"},
    {11, 25, 20, "0.9843", "0.7874", "25.0", "20.0"},
    {12, 30, 22, "1.1811", "0.8661", "30.0", "22.0"},
    {13, 40, 25, "1.5748", "0.9843", "40.0", "25.0"},
    {14, 45, 27, "1.7717", "1.0630", "45.0", "27.0"},
    {15, 1, 0.6, "0.0394", "0.0236", "1.0", "0.60"},
    {16, 1, 0.8, "0.0394", "0.0315", "1.0", "0.80"},
    {17, 1.2, 1, "0.0472", "0.0394", "1.20", "1.0"},
    {18, 1, 1.2, "0.0394", "0.0472", "1.0", "1.20"},
    {19, 1.2, 1.2, "0.0472", "0.0472", "1.20", "1.20"},
    {20, 1.4, 1.4, "0.0551", "0.0551", "1.40", "1.40"},
    {21, 1.6, 1.6, "0.0630", "0.0630", "1.60", "1.60"},
    {22, 1.8, 1.8, "0.0709", "0.0709", "1.80", "1.80"},
    {23, 2, 2, "0.0787", "0.0787", "2.0", "2.0"},
    {24, 2.5, 2, "0.0984", "0.0787", "2.50", "2.0"},
    {25, 2, 2.5, "0.0787", "0.0984", "2.0", "2.50"},
};

TEST(CatalogueTest, RowsKeepTheirExactTextAndOrder) {
    ASSERT_EQ(CatalogueRows().size(), 26u);
    for (int row = 1; row <= 14; ++row) {
        EXPECT_EQ(CatalogueRows()[static_cast<std::size_t>(row - 1)].size(), 91u) << row;
    }
    for (int row = 15; row <= 25; ++row) {
        EXPECT_EQ(CatalogueRows()[static_cast<std::size_t>(row - 1)].size(), 28u) << row;
    }
    EXPECT_EQ(CatalogueRows()[10],
              "QELTA No.  -   (Product No. KT111) [Diamond Diameter = 25.0mm | Diamond Thickness = "
              "20.0mm]");
    EXPECT_EQ(CatalogueRows()[16], "SCS-1.0mm  -   1.0mm X 1.2mm");
    EXPECT_EQ(CatalogueRows()[25], "BLANK");
    EXPECT_EQ(FindCatalogueRow(CatalogueRows()[6]), 7);
    EXPECT_EQ(FindCatalogueRow("blank"), std::nullopt);
}

class BlankSelectionTest : public ModelTest {
protected:
    void ExpectBlank(const BlankRow& row, double divisor, const char* diameter,
                     const char* height) {
        SCOPED_TRACE("row " + std::to_string(row.Row) + " divisor " + std::to_string(divisor));
        model.ChooseOption(divisor == 1.0 ? 1 : 0); // the unit as the user sets it
        model.PickRow(row.Row);
        EXPECT_EQ(model.Text1(10).Text, diameter);
        EXPECT_EQ(model.Text1(5).Text, height);
        // The state keeps the unrounded dimensions; the scale spans the blank's 4680-twip width.
        EXPECT_DOUBLE_EQ(model.State().DiamondDiameter, row.DiameterMm / divisor);
        EXPECT_DOUBLE_EQ(model.State().DiamondHeight, row.HeightMm / divisor);
        EXPECT_DOUBLE_EQ(model.State().DrawScale, 4680 / (row.DiameterMm / divisor));
        EXPECT_FALSE(model.Text1(10).Visible);
        EXPECT_FALSE(model.Text1(5).Visible);
        EXPECT_FALSE(model.Label1_6().Visible);
        EXPECT_FALSE(model.Label1_11().Visible);
    }
};

TEST_F(BlankSelectionTest, EveryRowInInchesAndMillimetres) {
    for (const BlankRow& row : kRows) {
        ExpectBlank(row, 25.4, row.DiameterInches, row.HeightInches);
        ExpectBlank(row, 1.0, row.DiameterMmText, row.HeightMmText);
    }
}

TEST_F(BlankSelectionTest, ScalesOfTheNamedExamples) {
    model.PickRow(1);
    EXPECT_DOUBLE_EQ(model.State().DrawScale, 79248);
    model.ChooseOption(1);
    model.PickRow(7);
    EXPECT_DOUBLE_EQ(model.State().DrawScale, 360);
}

TEST_F(BlankSelectionTest, CustomRowShowsTheFieldsAndKeepsEverything) {
    model.PickRow(2);
    const ProfileState before = model.State();
    model.PickRow(26);
    EXPECT_EQ(model.Text1(10).Text, "0.1575");
    EXPECT_EQ(model.Text1(5).Text, "0.0906");
    EXPECT_TRUE(model.Text1(10).Visible);
    EXPECT_TRUE(model.Text1(5).Visible);
    EXPECT_TRUE(model.Label1_6().Visible);
    EXPECT_TRUE(model.Label1_11().Visible);
    EXPECT_EQ(model.State(), before);
}

TEST_F(BlankSelectionTest, CatalogueRowOverwritesTypedValues) {
    model.PickRow(3);
    model.PickRow(26);
    Type(10, "0.5");
    Type(5, "abc");
    model.PickRow(3);
    EXPECT_EQ(model.Text1(10).Text, "0.1575");
    EXPECT_EQ(model.Text1(5).Text, "0.1142");
    EXPECT_FALSE(model.Text1(10).Visible);
}

TEST_F(BlankSelectionTest, HidingTheFocusedFieldMovesTheFocusOn) {
    model.PickRow(26);
    model.FocusArrived(ControlId::Text1_10);
    model.PickRow(4);
    EXPECT_EQ(model.Focus(), ControlId::Text1_0);
    EXPECT_EQ(model.Text1(0).SelLength, 5);
}

} // namespace
} // namespace dieprofile::testing
