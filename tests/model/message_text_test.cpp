// Text a user gave, as messages quote it: never a control character, never a stray byte, never a
// page of it.
#include "core/message_text.h"

#include <gtest/gtest.h>

namespace dieprofile {
namespace {

struct QuotedCase {
    const char* Name;
    std::string Text;
    std::string Shown;
};

class QuotedForMessageTest : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(QuotedForMessageTest, ShowsTheTextSafely) {
    EXPECT_EQ(QuotedForMessage(GetParam().Text), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QuotedForMessageTest,
    ::testing::Values(
        QuotedCase{"Plain", "die & co.dieprofile", "\"die & co.dieprofile\""},
        QuotedCase{"NonAscii", "Düse Ø0,3 – 25°", "\"Düse Ø0,3 – 25°\""},
        QuotedCase{"TerminalTitleSequence", "\x1B]0;owned\x07", "\"\\u001B]0;owned\\u0007\""},
        QuotedCase{"NulDoesNotCutItShort", std::string("a\0b", 3), "\"a\\u0000b\""},
        QuotedCase{"LineBreaksAndTab", "a\nb\r\tc", "\"a\\nb\\r\\tc\""},
        QuotedCase{"DeleteAndC1", "a\x7F\xC2\x85\xC2\x9F\xC2\xA0",
                   "\"a\\u007F\\u0085\\u009F\xC2\xA0\""},
        QuotedCase{"NotUtf8", "a\xFF\xC3(\xE2\x82", "\"a\\xFF\\xC3(\\xE2\\x82\""},
        QuotedCase{"OverlongAndSurrogate", "\xC0\xAF\xED\xA0\x80", "\"\\xC0\\xAF\\xED\\xA0\\x80\""},
        QuotedCase{"EightyKept", std::string(79, 'x') + "é", "\"" + std::string(79, 'x') + "é\""},
        QuotedCase{"EightyOneCut", std::string(79, 'x') + "éé",
                   "\"" + std::string(79, 'x') + "…\""},
        QuotedCase{"CutCountsCharactersNotBytes", std::string(200, '\x01'),
                   "\"" +
                       [] {
                           std::string shown;
                           for (int i = 0; i < 79; ++i) {
                               shown += "\\u0001";
                           }
                           return shown;
                       }() +
                       "…\""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(WithControlCharactersEscaped, EscapesAWholeMessageWithoutCuttingIt) {
    const std::string tail(200, 'x');
    EXPECT_EQ(WithControlCharactersEscaped("Unknown option '\x1B[2J" + tail + "'."),
              "Unknown option '\\u001B[2J" + tail + "'.");
}

} // namespace
} // namespace dieprofile
