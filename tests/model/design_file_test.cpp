// Design files: a saved design opened again is drawn as it was, from whatever the window held;
// every kind of bad file is refused with its reason and leaves the window exactly as it was; a save
// that fails keeps the file that was there.
#include "model_fixture.h"
#include "support/replaced_text.h"

#include "app/dump.h"
#include "support/worst_designs.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace dieprofile::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own for each test, removed afterwards.
class DesignFileTest : public ModelTest {
protected:
    DesignFileTest() {
        folder = fs::temp_directory_path() /
                 ("dieprofile-design-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~DesignFileTest() override { fs::remove_all(folder); }
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
};

struct SessionCase {
    const char* Name;
    std::function<void(Form1Model&)> Steps; // what the user did before saving
    // False where Calculate refuses: the drawing is then the one each window had before.
    bool SameDrawing = true;
};

class RoundTripTest : public DesignFileTest, public ::testing::WithParamInterface<SessionCase> {};

// The window that opens the file starts in the other unit with wire diameters that are not numbers,
// so an open that converted them through the units switch would refuse or change them.
TEST_P(RoundTripTest, OpenedDesignDrawsAsSaved) {
    GetParam().Steps(model);
    model.Command1_Click();
    const std::string path = PathOf("design.dieprofile");
    ASSERT_TRUE(model.SaveDesign(path));
    const std::vector<std::string> messagesBefore = toolkit.Messages;

    HeadlessToolkit otherToolkit;
    Form1Model other(otherToolkit);
    otherToolkit.Attach(other);
    other.Form_Load();
    other.ChooseOption(model.OptionIndex() == 0 ? 1 : 0);
    other.PickRow(model.ComboRow() == 26 ? 4 : 26);
    other.ReplaceText(ControlId::Text1_0, "not a number");
    other.ReplaceText(ControlId::Text1_1, "");
    ASSERT_TRUE(other.OpenDesign(path));

    if (GetParam().SameDrawing) {
        EXPECT_EQ(DumpIgnoringFocus(), dieprofile::DumpIgnoringFocus(other));
    }
    EXPECT_EQ(otherToolkit.Messages, messagesBefore); // only what Calculate said the first time
    EXPECT_EQ(other.CurrentDesign(), model.CurrentDesign());
    EXPECT_EQ(other.DesignName(), "design.dieprofile");
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, RoundTripTest,
    ::testing::Values(SessionCase{"CustomBlankInInches",
                                  [](Form1Model& m) {
                                      m.PickRow(26);
                                      m.ReplaceText(ControlId::Text1_10, "0.180");
                                      m.ReplaceText(ControlId::Text1_5, "0.180");
                                      m.ReplaceText(ControlId::Text1_2, "14.75");
                                  }},
                      SessionCase{"CatalogueBlankInMillimetres",
                                  [](Form1Model& m) {
                                      m.ChooseOption(1);
                                      m.PickRow(7);
                                      m.ReplaceText(ControlId::Text1_0, "0.25");
                                      m.ReplaceText(ControlId::Text1_1, "0.3");
                                  }},
                      SessionCase{"CalculateRefusedInputsKept",
                                  [](Form1Model& m) {
                                      m.PickRow(26);
                                      m.ReplaceText(ControlId::Text1_7, "fünfzig \"°\" \\");
                                      m.ReplaceText(ControlId::Text1_8, std::string(1000, '9'));
                                  },
                                  false},
                      SessionCase{"BellContactWarning",
                                  [](Form1Model& m) {
                                      m.PickRow(26);
                                      m.ReplaceText(ControlId::Text1_10, "0.180");
                                      m.ReplaceText(ControlId::Text1_5, "0.180");
                                      m.ReplaceText(ControlId::Text1_1, "0.05");
                                  }}),
    [](const auto& info) { return std::string(info.param.Name); });

struct BadFileCase {
    const char* Name;
    std::function<std::string(const std::string& good)> Bytes; // from a good file's text
    std::string Reason;
};

class BadFileTest : public DesignFileTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, IsRefusedAndChangesNothing) {
    UseDefaultProfile();
    model.Command1_Click();
    const std::string good = DesignToText(model.CurrentDesign());
    const std::string path = PathOf("bad.dieprofile");
    WriteAll(path, GetParam().Bytes(good));
    model.ChooseOption(1); // the window differs from the file, so a partial load would show
    const std::string before = Dump(model);
    toolkit.Messages.clear();

    EXPECT_FALSE(model.OpenDesign(path));
    EXPECT_EQ(Dump(model), before);
    EXPECT_THAT(toolkit.Messages,
                ::testing::ElementsAre(
                    "Cannot open the design \"bad.dieprofile\": " + GetParam().Reason + "."));
    EXPECT_EQ(model.DesignName(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadFileTest,
    ::testing::Values(
        BadFileCase{"OverOneMebibyte",
                    [](const std::string& good) {
                        return good + std::string(std::size_t{1024} * 1024, ' ');
                    },
                    "it is larger than 1 MiB"},
        BadFileCase{"NotUtf8",
                    [](const std::string& good) { return Replaced(good, "50.0", "50\xB0"); },
                    "it is not UTF-8 text"},
        BadFileCase{"NotJson",
                    [](const std::string&) { return std::string("format = dieprofile-design\n"); },
                    "it is not JSON (error at byte 2)"},
        BadFileCase{"NumberBeyondDouble",
                    [](const std::string& good) {
                        return Replaced(good, "\"version\": 1", "\"version\": 1E400");
                    },
                    "it holds a number too large to read"},
        BadFileCase{"NotAnObject", [](const std::string&) { return std::string("[1, 2]"); },
                    "it is not a Die Profile design"},
        BadFileCase{"OtherFormat",
                    [](const std::string& good) {
                        return Replaced(good, "dieprofile-design", "dieprofile-settings");
                    },
                    "it is not a Die Profile design"},
        BadFileCase{"NewerVersion",
                    [](const std::string& good) {
                        return Replaced(good, "\"version\": 1", "\"version\": 3");
                    },
                    "it was written by a newer version of the program (design version 3, this "
                    "program reads version 2)"},
        BadFileCase{"VersionNotANumber",
                    [](const std::string& good) {
                        return Replaced(good, "\"version\": 1", "\"version\": \"1\"");
                    },
                    "its version is missing or not a whole number"},
        BadFileCase{"MissingField",
                    [](const std::string& good) {
                        return Replaced(good, ",\n    \"exitAngle\": \"50.0\"", "");
                    },
                    "the key \"fields.exitAngle\" is missing"},
        BadFileCase{"UnknownKey",
                    [](const std::string& good) {
                        return Replaced(good, "\"unit\"", "\"colour\": \"red\", \"unit\"");
                    },
                    "the key \"colour\" is unknown"},
        BadFileCase{"DuplicateKey",
                    [](const std::string& good) {
                        return Replaced(good, "\"exitAngle\"",
                                        "\"exitAngle\": \"1\", \"exitAngle\"");
                    },
                    "the key \"exitAngle\" appears twice"},
        BadFileCase{"FieldNotText",
                    [](const std::string& good) { return Replaced(good, "\"20.0\"", "20.0"); },
                    "the value of \"fields.exitLength\" is not a text"},
        BadFileCase{"UnitUnknown",
                    [](const std::string& good) { return Replaced(good, "\"in\"", "\"cm\""); },
                    "the unit \"cm\" is neither \"in\" nor \"mm\""},
        BadFileCase{"BlankNotInCatalogue",
                    [](const std::string& good) { return Replaced(good, "\"BLANK\"", "\"Q99\""); },
                    "the blank \"Q99\" is not in the catalogue"},
        BadFileCase{"FieldOverThousandCharacters",
                    [](const std::string& good) {
                        return Replaced(good, "\"20.0\"", "\"" + std::string(1001, '2') + "\"");
                    },
                    "the text of \"fields.exitLength\" is longer than 1000 characters"},
        BadFileCase{"BytesAfterNul",
                    [](const std::string& good) { return good + std::string("\0garbage", 8); },
                    "it is not JSON (error at byte 402)"}, // the byte after the design's end
        BadFileCase{"VersionBeyondSigned64Bits",
                    [](const std::string& good) {
                        return Replaced(good, "\"version\": 1", "\"version\": 9223372036854775808");
                    },
                    "it was written by a newer version of the program (design version "
                    "9223372036854775808, this program reads version 2)"},
        BadFileCase{"BlankWithEscapeSequence",
                    [](const std::string& good) {
                        return Replaced(good, "\"BLANK\"", "\"\\u001b]0;owned\\u0007\"");
                    },
                    "the text of \"blank\" holds a control character"},
        BadFileCase{"BlankOverThousandCharacters",
                    [](const std::string& good) {
                        return Replaced(good, "\"BLANK\"", "\"" + std::string(1001, 'Q') + "\"");
                    },
                    "the text of \"blank\" is longer than 1000 characters"},
        BadFileCase{"LongBlankQuotedShort",
                    [](const std::string& good) {
                        return Replaced(good, "\"BLANK\"", "\"" + std::string(1000, 'Q') + "\"");
                    },
                    "the blank \"" + std::string(79, 'Q') + "…\" is not in the catalogue"},
        BadFileCase{"UnknownKeyWithControlCharacters",
                    [](const std::string& good) {
                        return Replaced(good, "\"unit\"", "\"\\u001b[2J\\n\\u0085\": 0, \"unit\"");
                    },
                    "the key \"\\u001B[2J\\n\\u0085\" is unknown"},
        BadFileCase{
            "FieldWithControlCharacter",
            [](const std::string& good) { return Replaced(good, "\"20.0\"", "\"20\\t0\""); },
            "the text of \"fields.exitLength\" holds a control character"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DesignFileTest, UnreadableFileIsRefusedAndChangesNothing) {
    const std::string before = Dump(model);
    const std::string path = PathOf("folder.dieprofile");
    fs::create_directory(path);
    EXPECT_FALSE(model.OpenDesign(path));
    EXPECT_EQ(Dump(model), before);
    EXPECT_THAT(toolkit.Messages,
                ::testing::ElementsAre("Cannot open the design \"folder.dieprofile\": it cannot be "
                                       "read (Is a directory)."));
}

struct SaveFailureCase {
    const char* Name;
    std::string Target;  // under the test's folder
    std::string Prepare; // "file": an existing design there; "folder": a folder in its place
    std::string Field;   // text typed into Text1(7) before saving
    std::string Reason;
};

class SaveFailureTest : public DesignFileTest,
                        public ::testing::WithParamInterface<SaveFailureCase> {};

TEST_P(SaveFailureTest, SaysWhyAndKeepsWhatWasThere) {
    const SaveFailureCase& c = GetParam();
    const fs::path target = folder / c.Target;
    WriteAll(folder / "plain-file", "not a folder");
    if (c.Prepare == "file") {
        WriteAll(target, "the design saved last week\n");
    } else if (c.Prepare == "folder") {
        fs::create_directory(target);
    }
    model.ReplaceText(ControlId::Text1_7, c.Field);
    EXPECT_FALSE(model.SaveDesign(target.string()));
    EXPECT_THAT(toolkit.Messages,
                ::testing::ElementsAre("Cannot save the design \"" + target.filename().string() +
                                       "\": " + c.Reason + "."));
    if (c.Prepare == "file") {
        EXPECT_EQ(ReadAll(target), "the design saved last week\n");
    }
    if (c.Prepare == "folder") {
        EXPECT_TRUE(fs::is_directory(target));
    }
    // No temporary file is left beside the target.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++entries;
    }
    EXPECT_EQ(entries, c.Prepare.empty() ? 1U : 2U);
    EXPECT_EQ(model.DesignName(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SaveFailureTest,
    ::testing::Values(SaveFailureCase{"ParentIsAFile", "plain-file/d.dieprofile", "", "50.0",
                                      "the folder does not exist"},
                      SaveFailureCase{"FolderInThePlace", "d.dieprofile", "folder", "50.0",
                                      "it is a folder"},
                      SaveFailureCase{"FieldTheReaderWouldRefuse", "d.dieprofile", "file", "50\x01",
                                      "the text of \"fields.exitAngle\" holds a control "
                                      "character"},
                      SaveFailureCase{"FieldNotUtf8", "d.dieprofile", "file", "50\xB0",
                                      "a field's text is not UTF-8 text"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The largest files of the shapes that cost a careless reader the most are read or refused for
// the right reason (the benchmark times them).
TEST(WorstDesigns, AreAnsweredForWhatTheyHold) {
    const std::map<std::string, std::string> expected{
        {"EmptyObjectsUnderAnUnknownKey", "the key \"x\" is unknown"},
        {"TopLevelKeys", "the key \"k\" is unknown"},
        {"TopLevelKeysOneRepeatedLast", "the key \"k0\" appears twice"},
        {"KeysInFields", "the key \"fields.f\" is unknown"},
        {"DeepArraysUnclosed", "it is not a Die Profile design"},
        {"DeepArraysClosed", "it is not a Die Profile design"},
        {"DeepObjects", "it is not a Die Profile design"},
        {"LongBlank", "the text of \"blank\" is longer than 1000 characters"},
        {"EscapedBlank", "the text of \"blank\" is longer than 1000 characters"},
        {"DesignPaddedWithSpaces", "read"},
        {"Numbers", "it is not a Die Profile design"},
    };
    std::set<std::string> seen;
    for (const WorstDesign& shape : WorstDesigns()) {
        SCOPED_TRACE(shape.Name);
        seen.insert(shape.Name);
        EXPECT_LE(shape.Bytes.size(), kMaxDesignFileBytes);
        EXPECT_GT(shape.Bytes.size(), kMaxDesignFileBytes - 16);
        const auto read = DesignFromText(shape.Bytes);
        EXPECT_EQ(read ? "read" : read.Error().Message, expected.at(shape.Name));
    }
    EXPECT_EQ(seen.size(), expected.size());
}

// Anything but a regular file is refused at once: a pipe would block the reader until something
// wrote into it.
TEST_F(DesignFileTest, PipesAndDevicesAreRefusedWithoutWaiting) {
    const std::string pipe = PathOf("pipe.dieprofile");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string before = Dump(model);
    for (const std::string& path : {pipe, std::string("/dev/null")}) {
        toolkit.Messages.clear();
        EXPECT_FALSE(model.OpenDesign(path));
        EXPECT_THAT(toolkit.Messages,
                    ::testing::ElementsAre("Cannot open the design \"" + DesignFileName(path) +
                                           "\": it is not a regular file."));
    }
    EXPECT_EQ(Dump(model), before);
}

struct AfterSaveCase {
    const char* Name;
    std::function<void(Form1Model&)> Steps; // after the design was saved
    std::string DrawingName;                // what the sheet calls the design
    bool Unsaved;
};

class AfterSaveTest : public DesignFileTest, public ::testing::WithParamInterface<AfterSaveCase> {};

// The sheet names the file only while the drawing shows what the file holds; the window counts as
// changed only while what the user typed and chose differs from the file.
TEST_P(AfterSaveTest, TheFileIsNamedOnlyForWhatItHolds) {
    UseDefaultProfile();
    model.Command1_Click();
    ASSERT_TRUE(model.SaveDesign(PathOf("die.dieprofile")));
    GetParam().Steps(model);
    EXPECT_EQ(model.DrawingDesignName(), GetParam().DrawingName);
    EXPECT_EQ(model.HasUnsavedChanges(), GetParam().Unsaved);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AfterSaveTest,
    ::testing::Values(AfterSaveCase{"Nothing", [](Form1Model&) {}, "die.dieprofile", false},
                      AfterSaveCase{
                          "TypedNotCalculated",
                          [](Form1Model& m) { m.ReplaceText(ControlId::Text1_0, "0.011"); },
                          "die.dieprofile", true},
                      AfterSaveCase{"TypedAndCalculated",
                                    [](Form1Model& m) {
                                        m.ReplaceText(ControlId::Text1_0, "0.011");
                                        m.Command1_Click();
                                    },
                                    "(changed since saved)", true},
                      AfterSaveCase{"CalculatedThenTypedBack",
                                    [](Form1Model& m) {
                                        m.ReplaceText(ControlId::Text1_0, "0.011");
                                        m.Command1_Click();
                                        m.ReplaceText(ControlId::Text1_0, "0.012");
                                    },
                                    "(changed since saved)", false},
                      AfterSaveCase{"UnitsSwitched", [](Form1Model& m) { m.ChooseOption(1); },
                                    "die.dieprofile", true},
                      AfterSaveCase{"OtherBlankCalculated",
                                    [](Form1Model& m) {
                                        m.PickRow(3);
                                        m.Command1_Click();
                                    },
                                    "(changed since saved)", true},
                      AfterSaveCase{"OpenedAgain",
                                    [](Form1Model& m) {
                                        m.ReplaceText(ControlId::Text1_0, "0.011");
                                        m.Command1_Click();
                                        m.OpenDesign(m.DesignPath());
                                    },
                                    "die.dieprofile", false}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace dieprofile::testing
