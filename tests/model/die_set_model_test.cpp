// The Die Set window's model: what a typed field, a chosen material or schedule, a pass's own
// profile, a save and a close leave behind, as the window, the driver and the command line see it.
#include "app/die_set_model.h"
#include "app/form_model.h"
#include "app/headless_toolkit.h"
#include "catalogue/catalogue.h"
#include "die_set_fixture.h"
#include "output/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace dieprofile::testing {
namespace {

namespace fs = std::filesystem;

struct Step {
    const char* Name;
    std::function<void(DieSetModel&)> Do;
    bool Changed;         // since the set was opened or saved
    const char* Refused;  // the refusal of the set as typed; empty when it computes
    std::size_t Passes;   // of the last schedule that could be computed
    const char* Material; // the set's material name
};

TEST(DieSetModelTest, EveryCommandLeavesTheSetItsChangeAndItsLastGoodSchedule) {
    const fs::path folder = fs::temp_directory_path() / ("set-model-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string file = (folder / "copper.dieset").string();
    ASSERT_TRUE(SaveDieSet(CopperSet(), file));

    HeadlessToolkit toolkit;
    DieSetModel model(toolkit);
    const std::string damaged = (folder / "damaged.dieset").string();
    ASSERT_TRUE(WriteFileAtomically(damaged, R"({"format": "dieprofile-set", "version": 1,)"));
    ASSERT_TRUE(model.Open(file));
    const std::string copper = "Copper, annealed";
    const Step steps[] = {
        {"opened", [](DieSetModel&) {}, false, "", 6, "Copper, annealed"},
        {"four dies", [](DieSetModel& m) { m.Type("dies", "4"); }, true, "", 4, "Copper, annealed"},
        // A refused field keeps the table of the last inputs that could be computed.
        {"dies not a number", [](DieSetModel& m) { m.Type("dies", "four"); }, true,
         "Dies must be a number.", 4, "Copper, annealed"},
        // Typed back as it was: nothing to save.
        {"six again", [](DieSetModel& m) { m.Type("dies", "6"); }, false, "", 6,
         "Copper, annealed"},
        // The texts of a schedule not chosen are not saved, so they change nothing.
        {"another schedule's text", [](DieSetModel& m) { m.Type("percent", "25"); }, false, "", 6,
         "Copper, annealed"},
        {"the fewest dies of 25 %",
         [](DieSetModel& m) { m.ChooseSchedule(ScheduleKind::Reduction); }, true, "", 5,
         "Copper, annealed"},
        {"back to equal dies", [](DieSetModel& m) { m.ChooseSchedule(ScheduleKind::Equal); }, false,
         "", 6, "Copper, annealed"},
        {"pass 2 of its own", [](DieSetModel& m) { m.TypePassField(2, "reductionAngle", "20"); },
         true, "", 6, "Copper, annealed"},
        {"pass 2 given back", [](DieSetModel& m) { m.TypePassField(2, "reductionAngle", ""); },
         false, "", 6, "Copper, annealed"},
        // A value typed over a preset's is the user's own: the file must not name the preset.
        {"K typed", [](DieSetModel& m) { m.Type("strengthCoefficient", "320"); }, true, "", 6, ""},
        {"the preset chosen", [&](DieSetModel& m) { m.ChooseMaterial(copper); }, true, "", 6,
         "Copper, annealed"},
        {"saved elsewhere",
         [&](DieSetModel& m) {
             m.Type("dies", "5");
             EXPECT_TRUE(m.Save((folder / "five.dieset").string()));
         },
         false, "", 5, "Copper, annealed"},
        // A failed save keeps the file the set came from and its change.
        {"a save that fails",
         [&](DieSetModel& m) {
             m.Type("dies", "7");
             EXPECT_FALSE(m.Save(folder.string()));
         },
         true, "", 7, "Copper, annealed"},
        // A damaged file is named, and the set as typed and its file stay.
        {"a damaged file",
         [&](DieSetModel& m) {
             const DieSetFile typed = m.Set();
             toolkit.Messages.clear();
             EXPECT_FALSE(m.Open(damaged));
             EXPECT_EQ(m.Set(), typed);
             ASSERT_EQ(toolkit.Messages.size(), 1U);
             EXPECT_NE(toolkit.Messages[0].find("\"damaged.dieset\""), std::string::npos);
         },
         true, "", 7, "Copper, annealed"},
    };
    for (const Step& step : steps) {
        step.Do(model);
        EXPECT_EQ(model.HasChanged(), step.Changed) << step.Name;
        EXPECT_EQ(model.Refused() ? model.Refused()->Message : "", step.Refused) << step.Name;
        ASSERT_TRUE(model.LastGood()) << step.Name;
        EXPECT_EQ(model.LastGood()->Passes.size(), step.Passes) << step.Name;
        EXPECT_EQ(model.Set().MaterialName, step.Material) << step.Name;
    }
    EXPECT_EQ(model.Path(), (folder / "five.dieset").string());

    // Keys that are no typed field change nothing.
    const DieSetFile before = model.Set();
    EXPECT_FALSE(model.Type("blank", "Q1"));
    EXPECT_FALSE(model.Type("unit", "in"));
    EXPECT_FALSE(model.TypePassField(1, "outletDiameter", "0.5"));
    EXPECT_EQ(model.Set(), before);
    // A pass the schedule does not have is named, and no override is made for it.
    toolkit.Messages.clear();
    EXPECT_FALSE(model.SetPassProfile(8, {}));
    EXPECT_EQ(toolkit.Messages, std::vector<std::string>{"The set has no pass 8."});
    EXPECT_TRUE(model.Set().Overrides.empty());

    // A pass's own catalogue blank brings its diamond: a typed diameter is not kept with it, and
    // a blank the catalogue does not have is refused, the pass left as it was.
    const std::string kt106(CatalogueRows()[5]);
    OwnFieldTexts own{};
    own[0] = "20";
    own[6] = "9";
    ASSERT_TRUE(model.SetPassProfile(2, own, kt106));
    own[6].reset();
    EXPECT_EQ(model.Set().Overrides, (std::vector<PassOverride>{{"2", own, kt106}}));
    EXPECT_TRUE(model.TypePassField(2, "diamondDiameter", "9"));
    EXPECT_EQ(model.Set().Overrides, (std::vector<PassOverride>{{"2", own, kt106}}));
    EXPECT_TRUE(model.TypePassField(2, "blank", "BLANK"));
    EXPECT_TRUE(model.TypePassField(2, "diamondDiameter", "9"));
    own[6] = "9";
    EXPECT_EQ(model.Set().Overrides, (std::vector<PassOverride>{{"2", own, "BLANK"}}));
    toolkit.Messages.clear();
    EXPECT_FALSE(model.SetPassProfile(2, own, "Q99"));
    EXPECT_EQ(toolkit.Messages,
              std::vector<std::string>{"The blank \"Q99\" is not in the catalogue."});
    EXPECT_EQ(model.Set().Overrides, (std::vector<PassOverride>{{"2", own, "BLANK"}}));

    // A set opened that cannot be computed has no schedule: not the one of the set before it.
    DieSetFile tooMany = CopperSet();
    tooMany.Dies = "101";
    ASSERT_TRUE(SaveDieSet(tooMany, file));
    ASSERT_TRUE(model.Open(file));
    EXPECT_FALSE(model.LastGood());
    ASSERT_TRUE(model.Refused());

    model.Close();
    EXPECT_FALSE(model.HasSet());
    EXPECT_EQ(model.Path(), "");
    EXPECT_FALSE(model.HasChanged());
    fs::remove_all(folder);
}

// The set's own die, typed or taken from the designed window's design: only the die changes, by
// the same rules as a pass's profile; a design that cannot be calculated is taken as typed.
TEST(DieSetModelTest, TheSetsOwnDieIsTypedOrTakenFromTheWindowAndNothingElseChanges) {
    HeadlessToolkit toolkit;
    DieSetFile start = CopperSet();
    start.Overrides = {{"2", {"20"}}};
    DieSetModel model(toolkit);
    model.Start(start);
    const std::string kt106(CatalogueRows()[5]); // 8.70 × 7.50 mm
    const SetDieTexts typed{"16", "50", "30", "50", "20", "50", "9", "9"};
    const SetDieTexts kt106Die{"16", "50", "30", "50", "20", "50", "8.70", "7.50"};
    // In inches, with no reduction angle, into a set in millimetres: only the diamond is a length.
    const Design inches{
        "in", "BLANK", {"0.01", "0.02", "x", "5", "3", "5", "2", "5", "0.18", "1"}, {}};
    Design huge = inches;
    huge.FieldTexts[8] = "1e308";
    const SetDieTexts taken{"x", "5", "3", "5", "2", "5", "4.572", "25.4"};
    const struct {
        const char* Name;
        std::function<bool()> Do;
        bool Done;
        const std::string& Blank;
        const SetDieTexts& Die;
        bool Changed;
        const char* Message = "";
    } steps[] = {
        {"an empty blank", [&] { return model.SetDie("", typed); }, false, start.Blank,
         start.DieFieldTexts, false, "The blank \"\" is not in the catalogue."},
        {"a catalogue blank brings its own diamond", [&] { return model.SetDie(kt106, typed); },
         true, kt106, kt106Die, true},
        {"from the window", [&] { return model.TakeDesign(inches); }, true, start.Blank, taken,
         true},
        {"a diamond too large for millimetres", [&] { return model.TakeDesign(huge); }, false,
         start.Blank, taken, true,
         "Cannot take the window's design into the set: Diamond Diameter is too large to show in "
         "millimetres."},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Name);
        toolkit.Messages.clear();
        EXPECT_EQ(step.Do(), step.Done);
        EXPECT_EQ(model.Set().Blank, step.Blank);
        EXPECT_EQ(model.Set().DieFieldTexts, step.Die);
        EXPECT_EQ(model.HasChanged(), step.Changed);
        EXPECT_EQ(toolkit.Messages, std::vector<std::string>(*step.Message ? 1 : 0, step.Message));
        // The wires, the schedule, the material and pass 2's own angle are the set's still.
        DieSetFile rest = model.Set();
        rest.Blank = start.Blank;
        rest.DieFieldTexts = start.DieFieldTexts;
        EXPECT_EQ(rest, start);
    }
    EXPECT_EQ(model.LastGood()->Passes.at(0).Problem,
              "Reduction Angle (degrees) must be a number.");
}

// A pass opened in the designed window is a new design from no file: a later save cannot write
// its diameters over the design the window held, nor carry that design's drawing number.
TEST(DieSetModelTest, APassOpensAsANewDesignFromNoFile) {
    const fs::path folder = fs::temp_directory_path() / ("set-pass-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string setFile = (folder / "copper.dieset").string();
    const std::string designFile = (folder / "die.dieprofile").string();
    ASSERT_TRUE(SaveDieSet(CopperSet(), setFile));

    HeadlessToolkit toolkit;
    Form1Model window(toolkit);
    toolkit.Attach(window);
    window.Form_Load();
    window.Show();
    window.PickRow(26);
    window.ReplaceText(Text1Control(10), "0.180");
    window.ReplaceText(Text1Control(5), "0.180");
    window.Command1_Click();
    window.SetIdentity({"D-17", "Finishing die", "B"});
    ASSERT_TRUE(window.SaveDesign(designFile));
    const Design saved = window.CurrentDesign();

    DieSetModel set(toolkit);
    struct Row {
        const char* Name;
        std::function<void()> Start;
        int Pass;
        const char* Origin;
    };
    const Row rows[] = {
        {"a set from its file", [&] { ASSERT_TRUE(set.Open(setFile)); }, 3,
         "pass 3 of copper.dieset"},
        {"a set from no file", [&] { set.Start(CopperSet()); }, 2, "pass 2 of the die set"},
    };
    for (const Row& row : rows) {
        row.Start();
        ASSERT_TRUE(set.OpenPassAsDesign(row.Pass, window)) << row.Name;
        EXPECT_EQ(window.DesignPath(), "") << row.Name;
        EXPECT_FALSE(window.HasUnsavedChanges()) << row.Name;
        EXPECT_EQ(window.Identity(), DrawingIdentity{}) << row.Name;
        EXPECT_EQ(window.Origin(), row.Origin) << row.Name;
        EXPECT_EQ(window.CurrentDesign().FieldTexts[2], "16") << row.Name;
    }
    // The design file is as it was saved; opening it again forgets where the pass came from.
    ASSERT_TRUE(window.OpenDesign(designFile));
    EXPECT_EQ(window.CurrentDesign(), saved);
    EXPECT_EQ(window.Origin(), "");
    fs::remove_all(folder);
}

// A set opened from the command line is named relative to the folder the program started in; its
// dialogs once started in the last folder used (the home folder at first) instead of its own.
TEST(DieSetModelTest, FileDialogsStartInTheSetsOwnFolder) {
    const fs::path folder =
        fs::temp_directory_path() / ("set-folder-" + std::to_string(getpid())) / "sets";
    fs::create_directories(folder);
    ASSERT_TRUE(SaveDieSet(CopperSet(), (folder / "copper.dieset").string()));
    const std::string relative = fs::relative(folder / "copper.dieset").string();
    ASSERT_FALSE(relative.starts_with('/'));

    HeadlessToolkit toolkit;
    DieSetModel model(toolkit);
    model.Start(CopperSet());
    EXPECT_EQ(model.DialogFolder("/last/used"), "/last/used");
    ASSERT_TRUE(model.Open(relative));
    EXPECT_EQ(model.DialogFolder("/last/used"), fs::absolute(folder).string());
    ASSERT_TRUE(model.Save((folder.parent_path() / "saved.dieset").string()));
    EXPECT_EQ(model.DialogFolder("/last/used"), folder.parent_path().string());
    fs::remove_all(folder.parent_path());
}

// The Die Set window once opened over the designed window, which a 1920 × 1080 desktop cannot hold
// beside it: centred (980 × 720 with its frame), the designed window leaves 462 pixels either side.
TEST(DieSetModelTest, TheSetsWindowOpensBesideTheDesignedWindow) {
    const ScreenRect desk{0, 0, 1920, 1080};
    const ScreenRect wide{0, 0, 3840, 2160};
    const struct {
        const char* Name;
        ScreenRect Anchor;
        ScreenRect Available;
        ScreenRect Placed;
    } rows[] = {
        {"room on the right", {100, 50, 980, 720}, desk, {1088, 50, 832, 800}},
        {"the designed window at the right edge, its top kept on the desktop",
         {940, 300, 980, 720},
         desk,
         {0, 280, 932, 800}},
        {"a 4K desktop holds the wanted size", {1430, 720, 980, 720}, wide, {2418, 720, 1300, 800}},
        {"centred: the least width at the edge, covering as little as it can",
         {470, 180, 980, 720},
         desk,
         {1320, 180, 600, 800}},
        {"a low desktop: the top moved up to keep the window on it",
         {0, 500, 980, 720},
         {0, 40, 1920, 1000},
         {988, 240, 932, 800}},
        {"a desktop narrower than the least width",
         {0, 0, 300, 200},
         {0, 0, 500, 400},
         {0, 0, 500, 400}},
    };
    for (const auto& row : rows) {
        // Wanted 1300 × 800 with the frame; the least width 600.
        const ScreenRect placed = PlaceBeside(row.Anchor, row.Available, 1300, 800, 600);
        EXPECT_EQ(placed, row.Placed) << row.Name << ": " << placed.Left << " " << placed.Top << " "
                                      << placed.Width << " " << placed.Height;
    }
}

TEST(DieSetModelTest, OutletsTypedInOneFieldSplitAtBlanksCommasAndSemicolons) {
    EXPECT_EQ(SplitOutlets("1.8, 1.6;1.4\t1.2"),
              (std::vector<std::string>{"1.8", "1.6", "1.4", "1.2"}));
    EXPECT_EQ(SplitOutlets(" ,; "), std::vector<std::string>{});
    EXPECT_EQ(SplitOutlets("1.5,,x"), (std::vector<std::string>{"1.5", "x"}));
    // A decimal comma stays in its outlet, to be refused for what it is.
    EXPECT_EQ(SplitOutlets("0,9 0,81, 0,729"), (std::vector<std::string>{"0,9", "0,81", "0,729"}));
}

} // namespace
} // namespace dieprofile::testing
