// Feeds arbitrary bytes to the design file's reader. Whatever the bytes, it must not crash, hang
// or read out of bounds, and what it accepts must hold:
// - the unit is "in" or "mm"; no field text is longer than 1,000 characters or holds a control
//   character;
// - the design written out again reads back as the same design (nothing the reader accepts is
//   lost or altered by the writer).
// Before the fuzzing starts, the largest files of the shapes that cost a reader the most (which
// the fuzzer's short inputs never reach) go through the same checks.
#include "output/design_file.h"
#include "support/worst_designs.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "design file property failed: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = dieprofile::DesignFromText(bytes);
    const auto* design = std::get_if<dieprofile::Design>(&read);
    if (design == nullptr) {
        if (std::get<std::string>(read).empty()) {
            Fail("a refusal without a reason");
        }
        return 0;
    }
    if (design->Unit != "in" && design->Unit != "mm") {
        Fail("a unit other than in or mm");
    }
    for (const std::string& text : design->FieldTexts) {
        if (text.size() > 4 * dieprofile::kMaxDesignFieldCharacters) {
            Fail("an overlong field text");
        }
        for (char c : text) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                Fail("a control character in a field text");
            }
        }
    }
    const auto again = dieprofile::DesignFromText(dieprofile::DesignToText(*design));
    const auto* reread = std::get_if<dieprofile::Design>(&again);
    if (reread == nullptr || !(*reread == *design)) {
        Fail("a design written out does not read back the same");
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (const dieprofile::WorstDesign& shape : dieprofile::WorstDesigns()) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(shape.Bytes.data()),
                               shape.Bytes.size());
    }
    return 0;
}
