// The drawing as data: its elements, their styles, and which of them Calculate may move.
#include "model_fixture.h"
#include "profile/drawing_scene.h"

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace dieprofile::testing {
namespace {

const SegmentDesign& DesignOf(std::string_view name) {
    for (const SegmentDesign& design : SceneSegments()) {
        if (design.Name == name) {
            return design;
        }
    }
    ADD_FAILURE() << "no segment " << name;
    return SceneSegments().front();
}

TEST(DrawingSceneTest, HasEveryElementOnceUnderItsOwnName) {
    std::set<std::string_view> names;
    for (const SegmentDesign& design : SceneSegments()) {
        EXPECT_TRUE(names.insert(design.Name).second) << design.Name;
    }
    for (const LabelDesign& design : SceneLabels()) {
        EXPECT_TRUE(names.insert(design.Name).second) << design.Name;
    }
    EXPECT_EQ(names.size(), 61u + 9u);

    // Each table row points at its own member: two rows sharing one member would both read the
    // same coordinates.
    std::set<const void*> members;
    const DrawingScene scene;
    for (const SegmentDesign& design : SceneSegments()) {
        EXPECT_TRUE(members.insert(&(scene.*design.Member)).second) << design.Name;
    }
}

TEST(DrawingSceneTest, StartsAsDesignedWithEveryLabelUnset) {
    const DrawingScene scene;
    for (const SegmentDesign& design : SceneSegments()) {
        EXPECT_EQ(scene.*design.Member, design.Ends) << design.Name;
    }
    for (const LabelDesign& design : SceneLabels()) {
        EXPECT_EQ((scene.*design.Member).Caption, "***") << design.Name;
    }
    EXPECT_EQ(scene.LineDieBellRight, (Segment{5520, 3480, 4800, 4680}));
    EXPECT_EQ(scene.Line93, (Segment{1560, 7320, 1560, 8520}));
}

TEST(DrawingSceneTest, OutlineBoreAndWiresAreHeavyAndDimensionsLight) {
    const std::set<std::string_view> dotted{"Line70", "Line71", "Line39", "Line54",
                                            "Line4",  "Line62", "Line63"};
    const std::set<std::string_view> dashed{"Line52", "Line53", "Line56", "Line57"};
    for (const SegmentDesign& design : SceneSegments()) {
        const bool profile = design.Name.rfind("LineDie", 0) == 0 ||
                             design.Name.rfind("LineEnterWire", 0) == 0 ||
                             design.Name.rfind("LineExitWire", 0) == 0;
        EXPECT_EQ(design.WidthPixels, profile ? 2 : 1) << design.Name;
        const LineStyle style = dotted.count(design.Name)   ? LineStyle::Dotted
                                : dashed.count(design.Name) ? LineStyle::Dashed
                                                            : LineStyle::Solid;
        EXPECT_EQ(design.Style, style) << design.Name;
    }
}

TEST(DrawingSceneTest, ArrowheadTailsStandOneOffsetAlongAndAcross) {
    // Pairs of strokes with the end that is their shared tip.
    struct Arrow {
        std::string_view A, B;
        bool TipAtEnd2;
    };
    for (const Arrow& arrow : {Arrow{"Line78", "Line79", true}, Arrow{"Line74", "Line75", true},
                               Arrow{"Line42", "Line43", true}, Arrow{"Line44", "Line45", true},
                               Arrow{"Line48", "Line49", false}, Arrow{"Line58", "Line59", true}}) {
        const Segment a = DesignOf(arrow.A).Ends;
        const Segment b = DesignOf(arrow.B).Ends;
        const float tipX = arrow.TipAtEnd2 ? a.X2 : a.X1;
        const float tipY = arrow.TipAtEnd2 ? a.Y2 : a.Y1;
        EXPECT_EQ(tipX, arrow.TipAtEnd2 ? b.X2 : b.X1) << arrow.A;
        EXPECT_EQ(tipY, arrow.TipAtEnd2 ? b.Y2 : b.Y1) << arrow.A;
        for (const Segment& s : {a, b}) {
            const float tailX = arrow.TipAtEnd2 ? s.X1 : s.X2;
            const float tailY = arrow.TipAtEnd2 ? s.Y1 : s.Y2;
            EXPECT_EQ(std::fabs(tailX - tipX), 120) << arrow.A;
            EXPECT_EQ(std::fabs(tailY - tipY), 120) << arrow.A;
        }
    }
    // Line64 and Line65 share their tip with different ends.
    EXPECT_EQ(DesignOf("Line64").Ends.X1, DesignOf("Line65").Ends.X2);
    EXPECT_EQ(DesignOf("Line64").Ends.Y1, DesignOf("Line65").Ends.Y2);
}

class SceneMovesTest : public ModelTest {};

TEST_F(SceneMovesTest, CalculateMovesExactlyTheSegmentsMarkedMoved) {
    UseDefaultProfile();
    model.Command1_Click();
    ASSERT_TRUE(toolkit.Messages.empty());
    for (const SegmentDesign& design : SceneSegments()) {
        const bool moved = !(model.Scene().*design.Member == design.Ends);
        EXPECT_EQ(moved, design.Moved) << design.Name;
    }
}

TEST(ToSingleTest, RoundsLikeTheHardwareAndOverflowsToInfinity) {
    EXPECT_EQ(ToSingle(0.1), 0.1f);
    EXPECT_EQ(ToSingle(3.4e38), 3.4e38f);
    EXPECT_EQ(ToSingle(std::numeric_limits<float>::max()), std::numeric_limits<float>::max());
    EXPECT_EQ(ToSingle(1e39), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ToSingle(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(ToSingle(std::nan(""))));
    // Just below the midpoint to 2^128 still rounds down to the largest float.
    EXPECT_EQ(ToSingle(0x1.fffffefffffffp127), std::numeric_limits<float>::max());
}

} // namespace
} // namespace dieprofile::testing
