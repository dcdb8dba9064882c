// Files made bad in one place, for the tests of the strict readers.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace dieprofile::testing {

// The text with the first occurrence of from replaced by to. A from that is not there fails the
// test, so a case cannot pass by reading the good file.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

} // namespace dieprofile::testing
