#include "platform/files.h"

#include "platform/io_faults.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tw {
namespace io_faults {
namespace {

int fail_at = 0;
int counted = 0;

// Counts one operation; true (errno set) when it is the one chosen to fail.
bool next_fails()
{
    ++counted;
    if (fail_at == 0 || counted != fail_at)
        return false;
    errno = EIO;
    return true;
}

} // namespace

void fail_nth(int n)
{
    fail_at = n;
    counted = 0;
}

int operations()
{
    return counted;
}

bool fired()
{
    return fail_at != 0 && counted >= fail_at;
}

} // namespace io_faults

namespace {

namespace fs = std::filesystem;

ssize_t checked_write(int fd, const void *data, std::size_t n)
{
    return io_faults::next_fails() ? -1 : ::write(fd, data, n);
}

ssize_t checked_read(int fd, void *data, std::size_t n)
{
    return io_faults::next_fails() ? -1 : ::read(fd, data, n);
}

int checked_fsync(int fd)
{
    return io_faults::next_fails() ? -1 : ::fsync(fd);
}

int checked_rename(const char *from, const char *to)
{
    return io_faults::next_fails() ? -1 : ::rename(from, to);
}

std::string errno_text(const char *what, const fs::path &path)
{
    return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

void set_error(std::string *error, std::string text)
{
    if (error)
        *error = std::move(text);
}

class Fd
{
public:
    explicit Fd(int fd = -1)
        : fd_(fd)
    {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { reset(); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    /// Closes and reports whether the close succeeded (a late write error shows here).
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool write_all(int fd, std::span<const std::uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = checked_write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

/// Everything from fd to its end, at most max_bytes; nothing (errno set) on a read error.
std::optional<std::vector<std::uint8_t>> read_all(int fd, std::size_t max_bytes)
{
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[65536];
    while (data.size() < max_bytes) {
        const std::size_t want = std::min(sizeof chunk, max_bytes - data.size());
        const ssize_t n = checked_read(fd, chunk, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        data.insert(data.end(), chunk, chunk + n);
    }
    return data;
}

mode_t new_file_mode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void sync_directory(const fs::path &dir)
{
    Fd fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        ::fsync(fd.get());
}

// A file-size limit would otherwise kill the program part-way through a save, leaving its
// temporary file behind; ignored, the write fails with EFBIG and the save cleans up.
class FileSizeSignalIgnored
{
public:
    FileSizeSignalIgnored()
    {
        struct sigaction ignore
        {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, &previous_);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored &) = delete;
    FileSizeSignalIgnored &operator=(const FileSizeSignalIgnored &) = delete;
    ~FileSizeSignalIgnored() { ::sigaction(SIGXFSZ, &previous_, nullptr); }

private:
    struct sigaction previous_
    {};
};

/// Where a save of path really goes: a symbolic link is followed to the file it names.
fs::path save_target(const fs::path &path)
{
    std::error_code ec;
    if (!fs::is_symlink(path, ec))
        return path;
    const fs::path target = fs::weakly_canonical(path, ec);
    return ec ? path : target;
}

constexpr std::string_view kTemporarySuffix = ".XXXXXX";

/// A temporary name short enough beside any file name the folder allows.
std::string temporary_template(const fs::path &target)
{
    constexpr std::size_t kKeptNameBytes = 24;
    const std::string name = target.filename().string();
    std::string temp = ".";
    temp += name.substr(0, kKeptNameBytes);
    temp += kTemporarySuffix;
    return (target.parent_path() / temp).string();
}

/// Whether the folder entry has the shape of one of the target's temporary names.
bool is_temporary_of(const std::string &entry, const std::string &pattern)
{
    const std::size_t stem = pattern.size() - kTemporarySuffix.size() + 1;
    return entry.size() == pattern.size() && entry.compare(0, stem, pattern, 0, stem) == 0;
}

// A save killed part-way leaves its temporary file behind. Every save holds a lock on its
// temporary until it is renamed, so one that can be locked belongs to no running save; the
// caller holds the target's lock, so no save of this file is between writing and renaming.
void remove_stale_temporaries(const fs::path &target)
{
    const std::string pattern = fs::path(temporary_template(target)).filename().string();
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(
             target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec)) {
        if (!is_temporary_of(entry.path().filename().string(), pattern))
            continue;
        Fd fd(::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info
        {};
        if (fd && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(entry.path().c_str());
    }
}

/// One file of a save while it is made: its lock, what it held, its temporary file.
struct Pending
{
    const FileWrite *request = nullptr;
    fs::path target;
    Fd lock;
    bool existed = false;
    mode_t mode = 0;
    std::vector<std::uint8_t> old_contents;
    std::string temp;
    Fd temp_fd; ///< open, and locked, until the temporary is renamed or removed
    bool renamed = false;
};

// Nothing there is no failure: the save makes the file.
bool absent_or_failed(const char *what, const fs::path &path, std::string *error)
{
    if (errno == ENOENT)
        return true;
    set_error(error, errno_text(what, path));
    return false;
}

// Saves replace the file by renaming over it, so the lock taken on the file that was opened may
// be on one another save has since replaced: take it again until it is on the file the name
// holds.
bool lock_existing(Pending &p, std::string *error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        p.lock.reset(::open(p.target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (!p.lock)
            return absent_or_failed("cannot open", p.target, error);
        struct stat held
        {
        }, named{};
        if (::flock(p.lock.get(), LOCK_EX) != 0 || ::fstat(p.lock.get(), &held) != 0) {
            set_error(error, errno_text("cannot lock", p.target));
            return false;
        }
        if (::stat(p.target.c_str(), &named) != 0) {
            p.lock.reset();
            return absent_or_failed("cannot open", p.target, error);
        }
        if (held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            p.existed = true;
            p.mode = held.st_mode;
            return true;
        }
    }
    set_error(error, "cannot lock " + p.target.string() + ": it keeps being replaced");
    return false;
}

bool check_target(Pending &p, std::string *error, WriteFailure &failure)
{
    failure = WriteFailure::Open;
    if (!lock_existing(p, error))
        return false;
    if (!p.existed) {
        p.mode = new_file_mode();
        return true;
    }
    if (!S_ISREG(p.mode)) {
        set_error(error, "cannot write " + p.request->path.string() + ": not a regular file");
        return false;
    }
    if (::access(p.target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) {
        failure = WriteFailure::ReadOnly;
        set_error(error, p.request->path.string() + " is read-only");
        return false;
    }
    remove_stale_temporaries(p.target);
    p.mode &= 07777;
    auto contents = read_all(p.lock.get(), std::numeric_limits<std::size_t>::max());
    if (!contents) {
        set_error(error, errno_text("cannot read", p.request->path));
        return false;
    }
    p.old_contents = std::move(*contents);
    if (p.request->expected && stamp_of(p.old_contents) != *p.request->expected) {
        failure = WriteFailure::Stale;
        set_error(error,
                  p.request->path.string() + " was changed by another program since it was read");
        return false;
    }
    return true;
}

bool write_temporary(Pending &p, std::span<const std::uint8_t> data, std::string *error)
{
    p.temp = temporary_template(p.target);
    p.temp_fd.reset(::mkstemp(p.temp.data()));
    if (!p.temp_fd) {
        set_error(error, errno_text("cannot create a temporary file for", p.request->path));
        p.temp.clear();
        return false;
    }
    const int fd = p.temp_fd.get();
    if (::flock(fd, LOCK_EX) != 0 || ::fchmod(fd, p.mode) != 0 || !write_all(fd, data) ||
        checked_fsync(fd) != 0) {
        set_error(error, errno_text("cannot write", p.request->path));
        return false;
    }
    return true;
}

// Puts back a file this save already replaced; a failure here is as much as a failing disk
// allows, and the message of the first failure stands.
void undo_rename(Pending &p)
{
    if (!p.existed) {
        ::unlink(p.target.c_str());
        return;
    }
    if (write_temporary(p, p.old_contents, nullptr) &&
        checked_rename(p.temp.c_str(), p.target.c_str()) == 0)
        p.temp.clear();
    p.temp_fd.reset();
}

bool replace_all(std::vector<Pending> &pending, std::string *error)
{
    for (Pending &p : pending) {
        if (checked_rename(p.temp.c_str(), p.target.c_str()) != 0) {
            set_error(error, errno_text("cannot replace", p.request->path));
            for (Pending &done : pending) {
                if (done.renamed)
                    undo_rename(done);
            }
            return false;
        }
        p.temp.clear();
        p.temp_fd.reset();
        p.renamed = true;
    }
    return true;
}

bool save_all(std::vector<Pending> &pending, std::string *error, WriteFailure &failure)
{
    for (Pending &p : pending) {
        if (!check_target(p, error, failure))
            return false;
    }
    failure = WriteFailure::Open;
    for (Pending &p : pending) {
        if (!write_temporary(p, p.request->data, error)) {
            failure = p.temp.empty() ? WriteFailure::Open : WriteFailure::Write;
            return false;
        }
    }
    failure = WriteFailure::Write;
    if (!replace_all(pending, error))
        return false;
    failure = WriteFailure::None;
    for (const Pending &p : pending)
        sync_directory(p.target.parent_path());
    return true;
}

} // namespace

FileStamp stamp_of(std::span<const std::uint8_t> bytes)
{
    // FNV-1a: a change by another program, not an adversary, is what it has to notice.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3ull;
    return {bytes.size(), hash};
}

std::optional<std::vector<std::uint8_t>> read_file(const fs::path &path, std::size_t max_bytes,
                                                   std::string *error)
{
    // Without O_NONBLOCK a FIFO would hold the open until something writes to it.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        set_error(error, errno_text("cannot open", path));
        return std::nullopt;
    }
    struct stat info
    {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        set_error(error, "cannot read " + path.string() + ": not a regular file");
        return std::nullopt;
    }
    auto data = read_all(fd.get(), max_bytes);
    if (!data)
        set_error(error, errno_text("cannot read", path));
    return data;
}

bool write_files_atomic(std::span<const FileWrite> files, std::string *error, WriteFailure *failure)
{
    const FileSizeSignalIgnored no_size_signal;
    std::vector<Pending> pending(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        pending[i].request = &files[i];
        pending[i].target = save_target(files[i].path);
    }
    WriteFailure failed = WriteFailure::None;
    const bool ok = save_all(pending, error, failed);
    for (const Pending &p : pending) {
        if (!p.temp.empty())
            ::unlink(p.temp.c_str());
    }
    if (failure)
        *failure = failed;
    return ok;
}

bool write_file_atomic(const fs::path &path, std::span<const std::uint8_t> data, std::string *error,
                       WriteFailure *failure, const std::optional<FileStamp> &expected)
{
    const FileWrite file{path, data, expected};
    return write_files_atomic({&file, 1}, error, failure);
}

std::string save_failure_message(std::string_view fixed_text, const std::string &error,
                                 WriteFailure failure)
{
    if (failure == WriteFailure::Stale || failure == WriteFailure::ReadOnly)
        return error;
    return std::string(fixed_text) + ": " + error;
}

bool file_exists(const fs::path &path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::optional<std::uintmax_t> size_of_file(const fs::path &path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return size;
}

} // namespace tw
