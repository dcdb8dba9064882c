// The drawing's number, title and revision travel with the design: written only when given (so a
// design without them stays readable by the program before them), read back as written, refused
// in a file of the version before them.
#include "model_fixture.h"
#include "support/replaced_text.h"
#include "support/test_path.h"

#include <cstdio>
#include <functional>
#include <variant>

namespace dieprofile::testing {
namespace {

using DrawingIdentityTest = ModelTest;

TEST_F(DrawingIdentityTest, TravelsWithTheDesignInTheVersionItNeeds) {
    const struct {
        const char* name;
        DrawingIdentity identity;
        const char* version;
    } rows[] = {
        {"none", {}, "\"version\": 1,"},
        {"all three", {"DP-0042", "Düse 0.30 mm \"fine\"", "B"}, "\"version\": 2,"},
        {"revision only", {"", "", "C"}, "\"version\": 2,"},
        {"bearing tolerance only", {"", "", "", "+0.0002/-0 in"}, "\"version\": 2,"},
    };
    UseDefaultProfile();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.SetIdentity(row.identity);
        const std::string text = DesignToText(model.CurrentDesign());
        EXPECT_NE(text.find(row.version), std::string::npos) << text;
        EXPECT_EQ(text.find("\"title\"") != std::string::npos, !row.identity.Title.empty());
        const auto read = DesignFromText(text);
        ASSERT_TRUE(read) << read.Error().Message;
        model.SetIdentity({"other", "other", "other"});
        ASSERT_TRUE(model.ApplyDesign(*read));
        EXPECT_EQ(model.Identity(), row.identity);
    }
}

TEST_F(DrawingIdentityTest, FileThatCannotHoldItIsRefused) {
    UseDefaultProfile();
    model.SetIdentity({"DP-1", "Die", "A"});
    const std::string v2 = DesignToText(model.CurrentDesign());
    model.SetIdentity({});
    const std::string v1 = DesignToText(model.CurrentDesign());
    const struct {
        const char* name;
        std::string bytes;
        std::string reason;
    } rows[] = {
        {"a title in version 1", Replaced(v1, "\"unit\"", R"("title": "Die", "unit")"),
         "the key \"title\" is unknown"},
        {"a number that is not a text", Replaced(v2, "\"DP-1\"", "1"),
         "the value of \"drawingNumber\" is not a text"},
        {"a control character", Replaced(v2, "\"A\"", R"("A\u0007")"),
         "the text of \"revision\" holds a control character"},
        {"an overlong title", Replaced(v2, "\"Die\"", "\"" + std::string(1001, 'D') + "\""),
         "the text of \"title\" is longer than 1000 characters"},
        {"a bearing tolerance that is not one",
         Replaced(v2, "\"unit\"", R"("bearingTolerance": "-0/+0.001", "unit")"),
         "the bearing tolerance \"-0/+0.001\" is not an upper and a lower deviation"},
        {"a later version", Replaced(v2, "\"version\": 2", "\"version\": 3"),
         "it was written by a newer version of the program (design version 3, this program "
         "reads version 2)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = DesignFromText(row.bytes);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.Error().Message, row.reason);
    }
}

// The number, title, revision and tolerance are the design's: its sheet carries them while the
// last Calculate drew that design, and none once another design is typed or a pass of a set is
// opened; saving or setting them again makes them the sheet's again, and nothing is lost.
TEST_F(DrawingIdentityTest, SheetCarriesTheIdentityOfTheDesignDrawn) {
    const DrawingIdentity set{"DP-0042", "Fine wire die", "C", "+0.0002/-0 in"};
    UseDefaultProfile();
    model.Command1_Click();
    const Design first = model.CurrentDesign();
    Design pass = first;
    pass.FieldTexts[0] = "0.010";
    const struct {
        const char* name;
        std::function<void()> step;
        bool carried;
    } rows[] = {
        {"set on the design drawn", [&] { model.SetIdentity(set); }, true},
        {"calculated again unchanged", [&] { model.Command1_Click(); }, true},
        {"a new design typed and calculated",
         [&] {
             Type(0, "0.011");
             model.Command1_Click();
         },
         false},
        {"typed back to the first",
         [&] {
             Type(0, "0.012");
             model.Command1_Click();
         },
         true},
        {"a pass of a set opened", [&] { ASSERT_TRUE(model.ApplyDesign(pass)); }, false},
        {"the first design opened again",
         [&] {
             Design own = first;
             own.Identity = set;
             ASSERT_TRUE(model.ApplyDesign(own));
         },
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.step();
        EXPECT_EQ(model.SheetIdentity(), row.carried ? set : DrawingIdentity{});
    }
    // Saved after another design is typed, the design keeps what the user set, and its sheet
    // carries it.
    Type(0, "0.011");
    model.Command1_Click();
    const std::string path = TestPath("identity.dieprofile");
    ASSERT_TRUE(model.SaveDesign(path));
    EXPECT_EQ(model.SheetIdentity(), set);
    std::remove(path.c_str());
}

} // namespace
} // namespace dieprofile::testing
