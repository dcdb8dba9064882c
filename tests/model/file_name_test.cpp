// A file name's extension, read the one way every export and file command reads it.
#include "core/file_name.h"

#include <gtest/gtest.h>

namespace dieprofile {
namespace {

TEST(FileNameTest, TheExtensionIsTheLastDotsOfTheNameInAnyCase) {
    struct Case {
        const char* Path;
        const char* Extension;
    };
    const Case cases[] = {
        {"sheet.pdf", "pdf"},
        {"SHEET.PDF", "pdf"},
        {"set.DieSet", "dieset"},
        {"archive.tar.gz", "gz"},
        // A dot in a folder's name is not the file's extension.
        {"drawings.v2/sheet", ""},
        {"/home/a.b/c", ""},
        {"no extension", ""},
        {"ends with a dot.", ""},
        // Not ASCII: compared as its bytes, never folded into another letter.
        {"chart.PDF\xC3\x89", "pdf\xC3\x89"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtensionOf(c.Path), c.Extension) << c.Path;
    }
    EXPECT_TRUE(HasExtension("A&B.CSV", "csv"));
    EXPECT_FALSE(HasExtension("a.csv.bak", "csv"));
    // An empty extension asks for nothing: a name ending in a dot is no match for it.
    EXPECT_FALSE(HasExtension("name.", ""));
}

} // namespace
} // namespace dieprofile
