// The print action on the headless toolkit: what is on the page and what the window is after.
#include "model_fixture.h"

namespace dieprofile::testing {
namespace {

class PrintActionTest : public ModelTest {
protected:
    void ExpectRestored() {
        EXPECT_EQ(toolkit.Outer.Width, 14460);
        EXPECT_EQ(toolkit.Outer.Height, 10380);
        EXPECT_EQ(model.Window().Width, 14460);
        EXPECT_EQ(model.Window().Height, 10380);
        EXPECT_TRUE(model.Text1(5).Visible);
        EXPECT_TRUE(model.Text1(10).Visible);
        EXPECT_TRUE(model.Label1_6().Visible);
        EXPECT_TRUE(model.Label1_11().Visible);
    }
};

TEST_F(PrintActionTest, PrintsEnlargedWithoutTheDiamondFieldsInLandscape) {
    model.Command2_Click();
    EXPECT_EQ(toolkit.Printed,
              std::vector<std::string>{"printed 15460 11380 diamond-fields hidden"});
    EXPECT_EQ(toolkit.Orientation, 2);
    EXPECT_GE(toolkit.Repaints, 2);
    EXPECT_TRUE(toolkit.Messages.empty());
    ExpectRestored();
    // The catalogue values stay in the fields, now shown and editable.
    EXPECT_EQ(model.Text1(10).Text, "0.0591");
}

TEST_F(PrintActionTest, TwoPrintsNeverCreep) {
    model.Command2_Click();
    model.Command2_Click();
    ASSERT_EQ(toolkit.Printed.size(), 2u);
    EXPECT_EQ(toolkit.Printed[0], toolkit.Printed[1]);
    ExpectRestored();
}

TEST_F(PrintActionTest, WithTheCustomBlankTheWindowLooksAsBefore) {
    model.PickRow(26);
    const std::string before = Dump(model);
    model.Command2_Click();
    EXPECT_EQ(Dump(model), before);
}

TEST_F(PrintActionTest, FailuresAreToldAndTheWindowIsRestored) {
    struct Case {
        PrintOutcome Outcome;
        const char* Message;
    };
    for (const Case& c : {Case{{PrintOutcome::Kind::NoPrinter, "", ""}, "No printer is available."},
                          Case{{PrintOutcome::Kind::Failed, "the queue is stopped.", ""},
                               "Printing failed: the queue is stopped."}}) {
        toolkit.NextPrint = c.Outcome;
        toolkit.Messages.clear();
        model.PickRow(1);
        model.Command2_Click();
        EXPECT_EQ(toolkit.Messages, std::vector<std::string>{c.Message});
        EXPECT_TRUE(toolkit.Printed.empty());
        ExpectRestored();
    }
}

TEST(PrintQueue, OnlyAnErrorOrARefusalKeepsTheJobBack) {
    using K = PrintOutcome::Kind;
    const std::pair<QueueStatus, K> cases[] = {
        {{"q", true, false, {"media-jam-error"}}, K::Printed}, // not stopped: the spooler goes on
        {{"q", true, true, {"paused", "offline-report"}}, K::Paused},
        {{"q", true, true, {"media-jam-error", "paused"}}, K::Failed},
        {{"q", false, true, {"paused"}}, K::Failed},
    };
    for (const auto& [queue, result] : cases) {
        EXPECT_EQ(OutcomeBeforeSending(queue).Result, result) << queue.Reasons.front();
    }
    EXPECT_EQ(PrintOutcomeMessage(OutcomeBeforeSending({"q", false, false, {}})),
              "Printing failed: the printer q is not accepting jobs.");
    EXPECT_EQ(PrintOutcomeMessage(OutcomeBeforeSending({"q", true, true, {"x-error"}})),
              "Printing failed: the printer q reports an error.");
}

} // namespace
} // namespace dieprofile::testing
