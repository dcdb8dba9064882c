// Feeds arbitrary bytes to the die set file's reader, and what it accepts to the set's whole
// computation. Whatever the bytes, nothing may crash, hang or read out of bounds, and:
// - an accepted set's unit is "in" or "mm" and no text of it is overlong or holds a control
//   character;
// - the set written out again reads back as the same set;
// - the computation either refuses with a message or gives a row per outlet, each row's problem
//   or its die's figures, and a CSV of a header and a line per pass.
#include "dieset/die_set.h"
#include "output/set_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "die set file property failed: %s\n", what);
    std::abort();
}

void CheckText(const std::string& text) {
    if (text.size() > 4 * dieprofile::kMaxDesignFieldCharacters) {
        Fail("an overlong text");
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            Fail("a control character in a text");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = dieprofile::DieSetFromText(bytes);
    if (!read) {
        if (read.Error().Message.empty()) {
            Fail("a refusal without a reason");
        }
        return 0;
    }
    const dieprofile::DieSetFile* set = &*read;
    if (set->Unit != "in" && set->Unit != "mm") {
        Fail("a unit other than in or mm");
    }
    for (const dieprofile::SetTextKey& text : dieprofile::kSetTexts) {
        CheckText(set->*text.Member);
    }
    for (const std::string& text : set->Outlets) {
        CheckText(text);
    }
    for (const std::string& text : set->DieFieldTexts) {
        CheckText(text);
    }
    const auto again = dieprofile::DieSetFromText(dieprofile::DieSetToText(*set));
    if (!again || !dieprofile::SameAsSaved(*again, *set)) {
        Fail("a set written out does not read back the same");
    }

    const auto computed = dieprofile::ComputeDieSet(*set);
    if (!computed) {
        if (computed.Error().Message.empty()) {
            Fail("a refused set without a message");
        }
        return 0;
    }
    const auto& schedule = *computed;
    if (schedule.Passes.empty() || schedule.Passes.size() != schedule.Inputs.Outlets.size() ||
        schedule.Passes.size() > 100) {
        Fail("a schedule whose rows are not its outlets");
    }
    for (const dieprofile::DieSetPass& pass : schedule.Passes) {
        if (!pass.Die.Calculated && pass.Problem.empty()) {
            Fail("a die refused without its row saying why");
        }
        if (!(pass.Outlet < pass.Incoming)) {
            Fail("a pass that does not reduce the wire");
        }
    }
    const std::string csv = dieprofile::DieSetCsv(schedule);
    std::size_t lines = 0;
    for (char c : csv) {
        lines += c == '\n' ? 1 : 0;
    }
    if (lines != schedule.Passes.size() + 1) {
        Fail("a CSV whose lines are not its passes");
    }
    return 0;
}
