// A file in the temporary folder that belongs to the running test alone, under the name given:
// ctest runs the tests side by side, each in a process of its own, and two writing one fixed name
// read each other's half-written file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace dieprofile::testing {

inline std::string TestPath(const std::string& name) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) /
        (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

} // namespace dieprofile::testing
