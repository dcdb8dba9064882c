// The drawing's number, title and revision travel with the design: written only when given (so a
// design without them stays readable by the program before them), read back as written, refused
// in a file of the version before them.
#include "model_fixture.h"

#include <variant>

namespace dieprofile::testing {
namespace {

using DrawingIdentityTest = ModelTest;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(DrawingIdentityTest, TravelsWithTheDesignInTheVersionItNeeds) {
    const struct {
        const char* name;
        DrawingIdentity identity;
        const char* version;
    } rows[] = {
        {"none", {}, "\"version\": 1,"},
        {"all three", {"DP-0042", "Düse 0.30 mm \"fine\"", "B"}, "\"version\": 2,"},
        {"revision only", {"", "", "C"}, "\"version\": 2,"},
    };
    UseDefaultProfile();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.SetIdentity(row.identity);
        const std::string text = DesignToText(model.CurrentDesign());
        EXPECT_NE(text.find(row.version), std::string::npos) << text;
        EXPECT_EQ(text.find("\"title\"") != std::string::npos, !row.identity.Title.empty());
        const auto read = DesignFromText(text);
        ASSERT_TRUE(std::holds_alternative<Design>(read)) << std::get<std::string>(read);
        model.SetIdentity({"other", "other", "other"});
        ASSERT_FALSE(model.ApplyDesign(std::get<Design>(read)));
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
        {"a later version", Replaced(v2, "\"version\": 2", "\"version\": 3"),
         "it was written by a newer version of the program (design version 3, this program "
         "reads version 2)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = DesignFromText(row.bytes);
        ASSERT_TRUE(std::holds_alternative<std::string>(read));
        EXPECT_EQ(std::get<std::string>(read), row.reason);
    }
}

} // namespace
} // namespace dieprofile::testing
