#include "support/worst_designs.h"

#include "output/design_file.h"

#include <string_view>

namespace dieprofile {

namespace {

// head, then unit(i) for i = 0, 1, ... for as long as the whole still fits, then tail.
template <typename Unit>
std::string Filled(std::string_view head, Unit unit, std::string_view tail) {
    std::string bytes(head);
    for (std::size_t i = 0;; ++i) {
        const std::string next = unit(i);
        if (bytes.size() + next.size() + tail.size() > kMaxDesignFileBytes) {
            break;
        }
        bytes += next;
    }
    return bytes + std::string(tail);
}

std::string Repeated(std::string_view text) {
    return Filled(
        "", [text](std::size_t) { return std::string(text); }, "");
}

const Design kPadded{
    "mm", "BLANK", {"0.3", "0.5", "16", "30", "20", "40", "20", "60", "4", "3"}, {}};

constexpr std::string_view kHead = R"({"format": "dieprofile-design", "version": 1, )";

} // namespace

std::vector<WorstDesign> WorstDesigns() {
    const std::string opens = Repeated("[");
    return {
        {"EmptyObjectsUnderAnUnknownKey",
         Filled(
             std::string(kHead) + R"("x": [{})", [](std::size_t) { return std::string(",{}"); },
             "]}")},
        {"TopLevelKeys",
         Filled(
             std::string(kHead) + R"("k": 0)",
             [](std::size_t i) { return R"(,"k)" + std::to_string(i) + R"(":0)"; }, "}")},
        {"TopLevelKeysOneRepeatedLast",
         Filled(
             std::string(kHead) + R"("k": 0)",
             [](std::size_t i) { return R"(,"k)" + std::to_string(i) + R"(":0)"; }, ",\"k0\":0}")},
        {"KeysInFields",
         Filled(
             std::string(kHead) + R"("unit": "in", "blank": "BLANK", "fields": {"f": "")",
             [](std::size_t i) { return R"(,"f)" + std::to_string(i) + R"(":"")"; }, "}}")},
        {"DeepArraysUnclosed", opens},
        {"DeepArraysClosed",
         opens.substr(0, opens.size() / 2) + std::string(opens.size() / 2, ']')},
        {"DeepObjects", Filled(
                            "", [](std::size_t) { return std::string(R"({"a":)"); }, "")},
        {"LongBlank", Filled(
                          std::string(kHead) + R"("unit": "in", "blank": ")",
                          [](std::size_t) { return std::string("x"); }, R"(", "fields": {}})")},
        {"EscapedBlank",
         Filled(
             std::string(kHead) + R"("unit": "in", "blank": ")",
             [](std::size_t) { return std::string("\\u00e9"); }, R"(", "fields": {}})")},
        {"DesignPaddedWithSpaces",
         Filled(
             DesignToText(kPadded), [](std::size_t) { return std::string(" "); }, "")},
        {"Numbers", Filled(
                        "[0", [](std::size_t) { return std::string(",0"); }, "]")},
    };
}

} // namespace dieprofile
