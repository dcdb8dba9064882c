// Die set files: every schedule survives a save and an open; the set's own structure (the schedule
// kinds, the outlets list, the nested groups) is read as strictly as a design; a file that is not
// a plain file is refused at once instead of being waited on.
#include "die_set_fixture.h"
#include "dieset/die_set.h"
#include "output/set_file.h"
#include "support/replaced_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace dieprofile::testing {
namespace {

namespace fs = std::filesystem;

struct ScheduleCase {
    const char* Name;
    ScheduleKind Kind;
    std::vector<std::string> Outlets;
    RoundingKind Rounding = RoundingKind::None;
};

class SetRoundTripTest : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(SetRoundTripTest, TextReadsBackAsWritten) {
    DieSetFile set = CopperSet();
    set.Schedule = GetParam().Kind;
    set.Percent = "22.5";
    set.Outlets = GetParam().Outlets;
    set.MaterialName = "Kupfer \"weich\" \\ 8 µm"; // quotes, a backslash and beyond ASCII
    set.Rounding = GetParam().Rounding;
    set.RoundingStep = "0.005";
    set.RoundingSizes = {"1.8", "1.25 "};
    const Expected<DieSetFile> read = DieSetFromText(DieSetToText(set));
    ASSERT_TRUE(read) << read.Error().Message;
    EXPECT_TRUE(SameAsSaved(*read, set));
    EXPECT_EQ(read->Schedule, GetParam().Kind);
    EXPECT_EQ(read->Rounding, GetParam().Rounding);
    // Exact outlets are a file without the key, byte for byte as before it existed.
    EXPECT_EQ(DieSetToText(set).find("rounding") == std::string::npos,
              GetParam().Rounding == RoundingKind::None);
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, SetRoundTripTest,
    ::testing::Values(ScheduleCase{"Equal", ScheduleKind::Equal, {}},
                      ScheduleCase{"Reduction", ScheduleKind::Reduction, {}},
                      ScheduleCase{
                          "Diameters", ScheduleKind::Diameters, {"1.8", "1.6", "1.3", "1.0"}},
                      ScheduleCase{"NoOutletsYet", ScheduleKind::Diameters, {}},
                      ScheduleCase{"RoundedToAStep", ScheduleKind::Equal, {}, RoundingKind::Step},
                      ScheduleCase{"RoundedToSizes", ScheduleKind::Equal, {}, RoundingKind::Sizes}),
    [](const auto& info) { return std::string(info.param.Name); });

// Each text of the file in its own place: every member is given a text of its own (its path in
// the file), so a key written or read with another member's text, or a window field typing into
// another member, shows as a text out of place.
struct TextPlace {
    const char* Path; // the groups and the key, as the messages name them
    std::string DieSetFile::*Member;
    const char* WindowKey; // the Die Set window's field; none where it has none
    ScheduleKind Schedule = ScheduleKind::Equal;
};

const std::array<TextPlace, 13> kTextPlaces{{
    {"startDiameter", &DieSetFile::StartDiameter, "startDiameter"},
    {"finishDiameter", &DieSetFile::FinishDiameter, "finishDiameter"},
    {"schedule.dies", &DieSetFile::Dies, "dies"},
    {"schedule.percent", &DieSetFile::Percent, "percent", ScheduleKind::Reduction},
    {"rounding.step", &DieSetFile::RoundingStep, "roundingStep"},
    {"material.name", &DieSetFile::MaterialName, nullptr},
    {"material.strengthCoefficient", &DieSetFile::StrengthCoefficient, "strengthCoefficient"},
    {"material.hardeningExponent", &DieSetFile::HardeningExponent, "hardeningExponent"},
    {"material.density", &DieSetFile::Density, "density"},
    {"material.specificHeat", &DieSetFile::SpecificHeat, "specificHeat"},
    {"friction", &DieSetFile::Friction, "friction"},
    {"finishSpeed", &DieSetFile::FinishSpeed, "finishSpeed"},
    {"die.blank", &DieSetFile::Blank, nullptr},
}};

// Where the written text holds `"value"`, as a path of the keys around it; read from the
// indentation of the writer's text (two blanks a level), not by our own reader.
std::string PathOf(const std::string& text, const std::string& value) {
    std::vector<std::string> open;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos || line[indent] != '"' || indent < 2) {
            continue;
        }
        const std::size_t end = line.find('"', indent + 1);
        const std::string key = line.substr(indent + 1, end - indent - 1);
        open.resize(indent / 2 - 1);
        open.push_back(key);
        const std::string rest = line.substr(end + 1);
        if (rest == ": \"" + value + "\"" || rest == ": \"" + value + "\",") {
            std::string path;
            for (const std::string& part : open) {
                path += (path.empty() ? "" : ".") + part;
            }
            return path;
        }
    }
    return "nowhere";
}

TEST(SetTextPlaceTest, EveryTextUnderItsOwnKey) {
    for (const TextPlace& place : kTextPlaces) {
        SCOPED_TRACE(place.Path);
        DieSetFile set = CopperSet();
        for (const TextPlace& other : kTextPlaces) {
            set.*other.Member = other.Path;
        }
        set.Schedule = place.Schedule;
        set.Rounding = RoundingKind::Step;
        const std::string text = DieSetToText(set);
        EXPECT_EQ(PathOf(text, place.Path), place.Path);
        const Expected<DieSetFile> read = DieSetFromText(text);
        ASSERT_TRUE(read) << read.Error().Message;
        EXPECT_EQ((*read).*place.Member, place.Path);
        if (place.WindowKey != nullptr) {
            const DieSetFieldEntry* field = DieSetFieldOf(place.WindowKey);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->Text, place.Member);
        }
    }
}

struct BadSetCase {
    const char* Name;
    std::string From; // in the example's text
    std::string To;
    std::string Reason;
};

class BadSetTest : public ::testing::TestWithParam<BadSetCase> {};

TEST_P(BadSetTest, IsRefusedWithItsReason) {
    DieSetFile set = CopperSet();
    set.Schedule = ScheduleKind::Diameters;
    set.Outlets = {"1.5", "1.0"};
    const std::string bytes = Replaced(DieSetToText(set), GetParam().From, GetParam().To);
    const Expected<DieSetFile> read = DieSetFromText(bytes);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.Error().Message, GetParam().Reason);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadSetTest,
    ::testing::Values(
        BadSetCase{"DesignFile", "dieprofile-set", "dieprofile-design",
                   "it is not a Die Profile die set"},
        BadSetCase{"NewerVersion", "\"version\": 1", "\"version\": 7",
                   "it was written by a newer version of the program (die set version 7, this "
                   "program reads version 1)"},
        BadSetCase{"UnknownSchedule", "\"diameters\"", "\"logarithmic\"",
                   "the schedule \"logarithmic\" is none of \"equal\", \"reduction\" and "
                   "\"diameters\""},
        BadSetCase{"ScheduleKeyOfAnotherKind", "\"kind\": \"diameters\"",
                   "\"kind\": \"equal\", \"dies\": \"3\"",
                   "the key \"schedule.outlets\" is unknown"},
        BadSetCase{"ScheduleWithoutKind", "\"kind\": \"diameters\",", "",
                   "the key \"schedule.kind\" is missing"},
        BadSetCase{"OutletsNotAList", "[\n      \"1.5\",\n      \"1.0\"\n    ]", "\"1.5 1.0\"",
                   "the value of \"schedule.outlets\" is not a list"},
        BadSetCase{"OutletNotText", "\"1.5\"", "1.5",
                   "the value of \"schedule.outlets[1]\" is not a text"},
        BadSetCase{"OutletWithControl", "\"1.0\"\n", "\"1\\u00850\"\n",
                   "the text of \"schedule.outlets[2]\" holds a control character"},
        BadSetCase{"MaterialMissingKey", "\"density\": \"8960\",", "",
                   "the key \"material.density\" is missing"},
        BadSetCase{"UnknownTopLevelKey", "\"die\": {", "\"die\": 1, \"x\": {",
                   "the key \"x\" is unknown"},
        BadSetCase{"DieFieldUnknown", "\"reductionAngle\"",
                   "\"outletDiameter\": \"1\", \"reductionAngle\"",
                   "the key \"die.fields.outletDiameter\" is unknown"},
        BadSetCase{"DieFieldTooLong", "\"16\"", "\"" + std::string(1001, '1') + "\"",
                   "the text of \"die.fields.reductionAngle\" is longer than 1000 characters"},
        BadSetCase{"BlankNotText", "\"BLANK\"", "26", "the value of \"die.blank\" is not a text"},
        BadSetCase{"OverridesNotAList", "  }\n}\n", "  },\n  \"overrides\": {}\n}\n",
                   "the value of \"overrides\" is not a list"},
        BadSetCase{"OverrideFieldUnknown", "  }\n}\n",
                   "  },\n  \"overrides\": [{\"pass\": \"1\", \"fields\": {\"outletDiameter\": "
                   "\"1\"}}]\n}\n",
                   "the key \"overrides[1].fields.outletDiameter\" is unknown"},
        BadSetCase{"OverridePassMissing", "  }\n}\n",
                   "  },\n  \"overrides\": [{\"fields\": {}}]\n}\n",
                   "the key \"overrides[1].pass\" is missing"},
        BadSetCase{"OverrideBlankNotText", "  }\n}\n",
                   "  },\n  \"overrides\": [{\"pass\": \"1\", \"blank\": 5, \"fields\": {}}]\n}\n",
                   "the value of \"overrides[1].blank\" is not a text"},
        BadSetCase{"FrictionNotText", "\"0.08\"", "0.08",
                   "the value of \"friction\" is not a text"},
        BadSetCase{"RoundingNotAGroup", "  \"material\"",
                   "  \"rounding\": \"0.001\",\n  \"material\"",
                   "the value of \"rounding\" is not a group of keys"},
        BadSetCase{"RoundingBothWays", "  \"material\"",
                   "  \"rounding\": {\"step\": \"0.001\", \"sizes\": []},\n  \"material\"",
                   "the key \"rounding.sizes\" is unknown"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Overrides are read back as written, only the fields a pass replaces; a set without any is
// written without the key, as the documented example is.
TEST(SetOverridesTest, ReadBackAsWrittenAndAbsentWhenNone) {
    DieSetFile set = CopperSet();
    EXPECT_EQ(DieSetToText(set).find("overrides"), std::string::npos);
    PassOverride first;
    first.Pass = "1";
    first.FieldTexts[0] = "20";
    PassOverride last;
    last.Pass = " 6";
    last.FieldTexts[1] = "80 \"long\"";
    last.FieldTexts[7] = "";
    last.Blank = "BLANK"; // a blank of its own is kept too; the first pass keeps the set's
    set.Overrides = {first, last};
    const auto read = DieSetFromText(DieSetToText(set));
    ASSERT_TRUE(read) << read.Error().Message;
    EXPECT_EQ(read->Overrides, set.Overrides);
}

class SetFileOnDiskTest : public ::testing::Test {
protected:
    SetFileOnDiskTest()
        : folder(fs::temp_directory_path() /
                 ("dieprofile-set-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~SetFileOnDiskTest() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_F(SetFileOnDiskTest, SavedSetOpensAgain) {
    const std::string path = (folder / "copper.dieset").string();
    const Expected<void> saved = SaveDieSet(CopperSet(), path);
    ASSERT_TRUE(saved) << saved.Error().Message;
    const Expected<DieSetFile> opened = OpenDieSet(path);
    ASSERT_TRUE(opened) << opened.Error().Message;
    EXPECT_TRUE(SameAsSaved(*opened, CopperSet()));
}

TEST_F(SetFileOnDiskTest, SaveRefusesWhatCouldNotBeOpenedAndKeepsTheOldFile) {
    const std::string path = (folder / "copper.dieset").string();
    std::ofstream(path) << "last week's set\n";
    for (const auto& [name, reason] :
         {std::pair{std::string("Cu\x01"), std::string("the text of \"material.name\" holds a "
                                                       "control character")},
          std::pair{std::string("Cu\xB0"), std::string("a field's text is not UTF-8 text")}}) {
        DieSetFile set = CopperSet();
        set.MaterialName = name;
        const Expected<void> saved = SaveDieSet(set, path);
        EXPECT_FALSE(saved);
        EXPECT_EQ(saved.Error().Message,
                  "Cannot save the die set \"copper.dieset\": " + reason + ".");
    }
    std::ifstream in(path);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "last week's set");
}

// A named pipe would block a reader that waited for a writer; it is refused at once.
TEST_F(SetFileOnDiskTest, NotAPlainFileIsRefusedAtOnce) {
    const std::string fifo = (folder / "pipe.dieset").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = (folder / "missing.dieset").string();
    EXPECT_EQ(OpenDieSet(fifo).Error().Message,
              "Cannot open the die set \"pipe.dieset\": it is not a regular file.");
    EXPECT_EQ(OpenDieSet(missing).Error().Message,
              "Cannot open the die set \"missing.dieset\": it cannot be read (No such file or "
              "directory).");
}

} // namespace
} // namespace dieprofile::testing
