// The one way every file is written: what lands where, with which permissions, and what is left
// when the write fails.
#include "output/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dieprofile {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct stat StatOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("atomic-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Everything in the folder, so that a temporary file left behind shows.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

struct WriteCase {
    const char* Name;
    mode_t Umask;
    std::function<void(const fs::path& folder)> Prepare;
    std::string Path;  // written, under the folder
    std::string Lands; // where the bytes must be afterwards
    mode_t Mode;       // of that file
    std::vector<std::string> Entries;
};

TEST_F(AtomicFileTest, WritesWhereAndAsAUserExpects) {
    const std::string longName = std::string(250, 'n') + ".dxf"; // 254 bytes
    const WriteCase cases[] = {
        {"new file, umask 022", 022, [](const fs::path&) {}, "a.dxf", "a.dxf", 0644, {"a.dxf"}},
        {"new file, umask 077", 077, [](const fs::path&) {}, "a.dxf", "a.dxf", 0600, {"a.dxf"}},
        {"new file, umask 002", 002, [](const fs::path&) {}, "a.dxf", "a.dxf", 0664, {"a.dxf"}},
        {"replaced file keeps its mode",
         077,
         [](const fs::path& f) {
             WriteAll(f / "a.svg", "old");
             chmod((f / "a.svg").c_str(), 0640);
         },
         "a.svg",
         "a.svg",
         0640,
         {"a.svg"}},
        {"set-user-ID and set-group-ID are not copied",
         022,
         [](const fs::path& f) {
             WriteAll(f / "a.pdf", "old");
             chmod((f / "a.pdf").c_str(), 06755);
         },
         "a.pdf",
         "a.pdf",
         0755,
         {"a.pdf"}},
        {"through a relative link to its target",
         022,
         [](const fs::path& f) {
             WriteAll(f / "real.pdf", "old");
             fs::create_symlink("real.pdf", f / "link.pdf");
         },
         "link.pdf",
         "real.pdf",
         0644,
         {"link.pdf", "real.pdf"}},
        {"through a chain of links, one absolute",
         022,
         [](const fs::path& f) {
             fs::create_directory(f / "sub");
             WriteAll(f / "sub" / "real.dxf", "old");
             fs::create_symlink(f / "sub" / "real.dxf", f / "sub" / "mid.dxf");
             fs::create_symlink("sub/mid.dxf", f / "link.dxf");
         },
         "link.dxf",
         "sub/real.dxf",
         0644,
         {"link.dxf", "sub"}},
        {"through a link whose target is still to be made",
         022,
         [](const fs::path& f) { fs::create_symlink("later.svg", f / "link.svg"); },
         "link.svg",
         "later.svg",
         0644,
         {"later.svg", "link.svg"}},
        {"a name as long as the folder allows",
         022,
         [](const fs::path&) {},
         longName,
         longName,
         0644,
         {longName}},
    };
    for (const WriteCase& c : cases) {
        SetUp();
        c.Prepare(folder);
        const mode_t before = umask(c.Umask);
        const Expected<void> written = WriteFileAtomically((folder / c.Path).string(), "new bytes");
        umask(before);
        EXPECT_TRUE(written) << c.Name << ": " << written.Error().Message;
        EXPECT_EQ(ReadAll(folder / c.Lands), "new bytes") << c.Name;
        const struct stat landed = StatOf(folder / c.Lands);
        EXPECT_TRUE(S_ISREG(landed.st_mode)) << c.Name;
        EXPECT_EQ(landed.st_mode & 07777, c.Mode) << c.Name;
        if (c.Path != c.Lands) {
            EXPECT_TRUE(fs::is_symlink(folder / c.Path)) << c.Name << ": the link stays";
        }
        EXPECT_EQ(Entries(), c.Entries) << c.Name;
    }
}

TEST_F(AtomicFileTest, KeepsTheOwnerAndGroupOfAReplacedFileWhereItMay) {
    const fs::path target = folder / "owned.dieprofile";
    WriteAll(target, "old");
    if (geteuid() != 0) {
        // A plain user keeps the group of a file of their own (which is all they may give).
        const gid_t group = StatOf(target).st_gid;
        ASSERT_TRUE(WriteFileAtomically(target.string(), "new"));
        EXPECT_EQ(StatOf(target).st_gid, group);
        return;
    }
    ASSERT_EQ(chown(target.c_str(), 1234, 5678), 0);
    ASSERT_TRUE(WriteFileAtomically(target.string(), "new"));
    EXPECT_EQ(StatOf(target).st_uid, 1234U);
    EXPECT_EQ(StatOf(target).st_gid, 5678U);
}

struct RefusalCase {
    const char* Name;
    std::function<void(const fs::path& folder)> Prepare;
    std::string Path;
    std::string Reason;
    std::vector<std::string> Entries; // exactly as prepared
};

TEST_F(AtomicFileTest, RefusesInOneWordingAndLeavesEverythingAsItWas) {
    const RefusalCase cases[] = {
        {"no such folder", [](const fs::path&) {}, "none/a.pdf", "the folder does not exist", {}},
        {"a folder in the place",
         [](const fs::path& f) { fs::create_directory(f / "a.pdf"); },
         "a.pdf",
         "it is a folder",
         {"a.pdf"}},
        {"a pipe in the place",
         [](const fs::path& f) { mkfifo((f / "a.svg").c_str(), 0644); },
         "a.svg",
         "it is not a plain file",
         {"a.svg"}},
        {"links in a circle",
         [](const fs::path& f) {
             fs::create_symlink("b.dxf", f / "a.dxf");
             fs::create_symlink("a.dxf", f / "b.dxf");
         },
         "a.dxf",
         "its symbolic links lead round in a circle",
         {"a.dxf", "b.dxf"}},
        {"a name longer than the folder allows",
         [](const fs::path&) {},
         std::string(256, 'n'),
         "the name is too long",
         {}},
    };
    for (const RefusalCase& c : cases) {
        SetUp();
        c.Prepare(folder);
        const Expected<void> written = WriteFileAtomically((folder / c.Path).string(), "new");
        EXPECT_FALSE(written) << c.Name;
        EXPECT_EQ(written.Error().Message, c.Reason) << c.Name;
        EXPECT_EQ(Entries(), c.Entries) << c.Name;
    }
}

// A write that fails part-way, as on a full disk: here the process's file size limit makes the
// kernel refuse the bytes beyond it.
TEST_F(AtomicFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const fs::path target = folder / "sheet.svg";
    WriteAll(target, "the sheet as it was");
    struct rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit small { 4096, limit.rlim_max };
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Expected<void> written = WriteFileAtomically(target.string(), std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.Error().Message, "the file is larger than this system allows");
    EXPECT_EQ(ReadAll(target), "the sheet as it was");
    EXPECT_EQ(Entries(), std::vector<std::string>{"sheet.svg"});
}

TEST_F(AtomicFileTest, TellsTheSameFileThroughEveryKindOfLink) {
    WriteAll(folder / "die.dieprofile", "design");
    WriteAll(folder / "other.dieprofile", "design");
    fs::create_symlink("die.dieprofile", folder / "soft.pdf");
    fs::create_hard_link(folder / "die.dieprofile", folder / "hard.pdf");
    fs::create_directory(folder / "sub");
    const struct {
        const char* Other;
        bool Same;
    } cases[] = {
        {"die.dieprofile", true}, {"sub/../die.dieprofile", true}, {"soft.pdf", true},
        {"hard.pdf", true},       {"other.dieprofile", false},     {"missing.pdf", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSameFile((folder / "die.dieprofile").string(), (folder / c.Other).string()),
                  c.Same)
            << c.Other;
    }
}

} // namespace
} // namespace dieprofile
