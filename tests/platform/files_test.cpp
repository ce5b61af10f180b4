#include "platform/files.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tw {
namespace {

std::vector<std::uint8_t> bytes_of(const std::string &text)
{
    return {text.begin(), text.end()};
}

bool only_file_in(const std::filesystem::path &dir, const std::string &name)
{
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        ++count;
        if (entry.path().filename() != name)
            return false;
    }
    return count == 1;
}

TEST(Files, AtomicWriteCreatesAndReplaces)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("soil.db");
    ASSERT_TRUE(write_file_atomic(path, bytes_of("first")));
    ASSERT_TRUE(write_file_atomic(path, bytes_of("second, longer")));
    EXPECT_EQ(test::read_text(path), "second, longer");
    EXPECT_EQ(size_of_file(path), 14u);
    EXPECT_TRUE(only_file_in(dir.path(), "soil.db"));
}

TEST(Files, AtomicWriteKeepsThePermissionsOfTheFileItReplaces)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("Field26.fld");
    ASSERT_TRUE(write_file_atomic(path, bytes_of("a")));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(write_file_atomic(path, bytes_of("b")));
    struct stat info
    {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(Files, ASaveThatFailsPartWayLeavesTheOldFileByteIdentical)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("Greeley2022.loc");
    const std::string original(1000, 'o');
    ASSERT_TRUE(write_file_atomic(path, bytes_of(original)));

    // A file-size limit below the new contents makes the write fail part-way, as a full disk
    // would. The limit must not reach this test process, so the save runs in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        WriteFailure failure = WriteFailure::None;
        const bool saved =
            write_file_atomic(path, std::vector<std::uint8_t>(100000, 'n'), nullptr, &failure);
        ::_exit(saved || failure != WriteFailure::Write ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed save reported success";
    EXPECT_EQ(test::read_text(path), original);
    EXPECT_TRUE(only_file_in(dir.path(), "Greeley2022.loc"));
}

TEST(Files, WriteIntoAMissingFolderFailsWithAReason)
{
    test::ScopedWorkDir dir;
    std::string error;
    WriteFailure failure = WriteFailure::None;
    EXPECT_FALSE(write_file_atomic(dir.file("no/such/file"), bytes_of("x"), &error, &failure));
    EXPECT_NE(error.find("no/such/file"), std::string::npos);
    EXPECT_EQ(failure, WriteFailure::Open);
}

TEST(Files, ReadWholeOrJustTheBeginning)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("custom.con");
    ASSERT_TRUE(write_file_atomic(path, bytes_of("0123456789")));
    EXPECT_EQ(read_file(path)->size(), 10u);
    EXPECT_EQ(*read_file(path, 4), bytes_of("0123"));
    EXPECT_FALSE(read_file(dir.file("missing")).has_value());
    EXPECT_FALSE(read_file(dir.path()).has_value());
    EXPECT_FALSE(file_exists(dir.path()));
    EXPECT_TRUE(file_exists(path));
    EXPECT_FALSE(size_of_file(dir.file("missing")).has_value());
}

} // namespace
} // namespace tw
