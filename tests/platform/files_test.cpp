#include "platform/files.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
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

TEST(Files, AFifoOrDeviceIsRefusedRatherThanWaitedOn)
{
    test::ScopedWorkDir dir;
    const auto fifo = dir.file("Greeley.loc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::filesystem::path &path : {fifo, std::filesystem::path("/dev/zero")}) {
        std::string error;
        EXPECT_FALSE(read_file(path, 100, &error).has_value()) << path;
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    }
    WriteFailure failure = WriteFailure::None;
    EXPECT_FALSE(write_file_atomic(fifo, bytes_of("x"), nullptr, &failure));
    EXPECT_EQ(failure, WriteFailure::Open);
}

TEST(Files, ASymlinkedDocumentKeepsItsLinkAndItsTargetIsReplaced)
{
    test::ScopedWorkDir dir;
    std::filesystem::create_directory(dir.file("real"));
    const auto target = dir.file("real/North.fld");
    ASSERT_TRUE(write_file_atomic(target, bytes_of("old")));
    std::filesystem::create_symlink("real/North.fld", dir.file("North.fld"));
    ASSERT_TRUE(write_file_atomic(dir.file("North.fld"), bytes_of("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("North.fld")));
    EXPECT_EQ(test::read_text(target), "new");
    EXPECT_TRUE(only_file_in(dir.file("real"), "North.fld"));
}

TEST(Files, ALongNameSavesAndAReadOnlyFileIsRefused)
{
    test::ScopedWorkDir dir;
    const auto long_name = dir.file(std::string(250, 'f') + ".fld");
    ASSERT_TRUE(write_file_atomic(long_name, bytes_of("a")));
    ASSERT_TRUE(write_file_atomic(long_name, bytes_of("b")));
    EXPECT_EQ(test::read_text(long_name), "b");

    // Root may write any file, and CI runs as root: the save is tried in a child process that
    // first gives up root for the user nobody.
    constexpr uid_t kNobody = 65534;
    const auto locked = dir.file("North.fld");
    ASSERT_TRUE(write_file_atomic(locked, bytes_of("kept")));
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::geteuid() == 0 && (::chown(dir.path().c_str(), kNobody, kNobody) != 0 ||
                                 ::chown(locked.c_str(), kNobody, kNobody) != 0 ||
                                 ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(10);
        std::string error;
        WriteFailure failure = WriteFailure::None;
        const bool saved = write_file_atomic(locked, bytes_of("lost"), &error, &failure);
        ::_exit(saved                                        ? 1
                : failure != WriteFailure::ReadOnly          ? 2
                : error != locked.string() + " is read-only" ? 3
                                                             : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: saved, 2: not refused as read-only, 3: another message, 10: root kept";
    EXPECT_EQ(test::read_text(locked), "kept");
}

TEST(Files, ASaveOverAFileChangedSinceItWasReadIsRefused)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("North.fld");
    ASSERT_TRUE(write_file_atomic(path, bytes_of("read")));
    const FileStamp read = stamp_of(*read_file(path));
    // Same size, other contents: what a second program saving the same edit shape writes.
    ASSERT_TRUE(write_file_atomic(path, bytes_of("READ")));
    std::string error;
    WriteFailure failure = WriteFailure::None;
    EXPECT_FALSE(write_file_atomic(path, bytes_of("mine"), &error, &failure, read));
    EXPECT_EQ(failure, WriteFailure::Stale);
    EXPECT_NE(error.find("was changed by another program"), std::string::npos) << error;
    EXPECT_EQ(test::read_text(path), "READ");
    EXPECT_TRUE(
        write_file_atomic(path, bytes_of("mine"), nullptr, nullptr, stamp_of(bytes_of("READ"))));
    EXPECT_EQ(test::read_text(path), "mine");
}

TEST(Files, AFileSizeLimitFailsTheSaveInsteadOfKillingIt)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("North.fld");
    ASSERT_TRUE(write_file_atomic(path, bytes_of("old")));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool saved =
            write_file_atomic(path, std::vector<std::uint8_t>(4096, 'n'), &error, nullptr);
        ::_exit(!saved && error.find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::read_text(path), "old");
    EXPECT_TRUE(only_file_in(dir.path(), "North.fld"));
}

TEST(Files, APairChangesTogetherOrNotAtAll)
{
    test::ScopedWorkDir dir;
    const auto frt = dir.file("North22.FRT");
    const auto lch = dir.file("North22.LCH");
    ASSERT_TRUE(write_file_atomic(frt, bytes_of("old nutrients")));
    ASSERT_TRUE(write_file_atomic(lch, bytes_of("old schedule")));
    const auto nutrients = bytes_of("new nutrients");
    const auto schedule = bytes_of("new schedule");
    const FileWrite pair[] = {{frt, nutrients, std::nullopt}, {lch, schedule, std::nullopt}};
    // The second rename failing is the case that once left a new nutrient file with an old (or
    // no) schedule: the first file must be put back.
    std::filesystem::remove(lch);
    std::filesystem::create_directory(lch);
    std::filesystem::create_directory(lch / "occupied");
    EXPECT_FALSE(write_files_atomic(pair));
    EXPECT_EQ(test::read_text(frt), "old nutrients");
    std::filesystem::remove_all(lch);
    EXPECT_TRUE(write_files_atomic(pair));
    EXPECT_EQ(test::read_text(frt), "new nutrients");
    EXPECT_EQ(test::read_text(lch), "new schedule");
}

TEST(Files, ASaveRemovesTheTemporariesItsKilledPredecessorsLeft)
{
    test::ScopedWorkDir dir;
    const auto path = dir.file("North.fld");
    ASSERT_TRUE(write_file_atomic(path, bytes_of("old")));
    const auto plant = [&](const std::string &name) {
        std::ofstream(dir.file(name)) << "half a save";
        return dir.file(name);
    };
    const auto stale = plant(".North.fld.a1B2c3");
    // A save still writing holds its temporary locked; so does this test for one of them.
    const auto running = plant(".North.fld.Zz9Yy8");
    const int held = ::open(running.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::filesystem::path others[] = {plant(".North.fld.bak"), plant(".Other.fld.a1B2c3"),
                                            plant("North.fld.a1B2c3"), plant(".North.fld.a1B2c3d")};

    ASSERT_TRUE(write_file_atomic(path, bytes_of("new")));
    EXPECT_EQ(test::read_text(path), "new");
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(running));
    for (const auto &other : others)
        EXPECT_TRUE(std::filesystem::exists(other)) << other;
    ::close(held);
}

} // namespace
} // namespace tw
