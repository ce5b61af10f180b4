#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tw {
namespace {

std::string errno_text(const char *what, const std::filesystem::path &path)
{
    return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

void set_error(std::string *error, std::string text)
{
    if (error)
        *error = std::move(text);
}

bool write_all(int fd, std::span<const std::uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t new_file_mode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void sync_directory(const std::filesystem::path &dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> read_file(const std::filesystem::path &path,
                                                   std::size_t max_bytes, std::string *error)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        set_error(error, errno_text("cannot open", path));
        return std::nullopt;
    }
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        set_error(error, "cannot read " + path.string() + ": not a regular file");
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[65536];
    while (data.size() < max_bytes) {
        const std::size_t want = std::min(sizeof chunk, max_bytes - data.size());
        const ssize_t n = ::read(fd, chunk, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            set_error(error, errno_text("cannot read", path));
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.insert(data.end(), chunk, chunk + n);
    }
    ::close(fd);
    return data;
}

bool write_file_atomic(const std::filesystem::path &path, std::span<const std::uint8_t> data,
                       std::string *error, WriteFailure *failure)
{
    if (failure)
        *failure = WriteFailure::None;
    const std::filesystem::path dir = path.parent_path();
    // Appended rather than "." + name: GCC 12 at -O3 takes the prepend for an overlapping copy
    // (-Wrestrict) and fails the Release build.
    std::string temp_name = ".";
    temp_name += path.filename().string();
    temp_name += ".XXXXXX";
    std::string temp = (dir / temp_name).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        set_error(error, errno_text("cannot create a temporary file for", path));
        if (failure)
            *failure = WriteFailure::Open;
        return false;
    }
    struct stat existing
    {};
    const mode_t mode =
        ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : new_file_mode();
    bool ok = ::fchmod(fd, mode) == 0 && write_all(fd, data) && ::fsync(fd) == 0;
    if (!ok)
        set_error(error, errno_text("cannot write", path));
    if (::close(fd) != 0 && ok) {
        ok = false;
        set_error(error, errno_text("cannot write", path));
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        set_error(error, errno_text("cannot replace", path));
    }
    if (!ok) {
        ::unlink(temp.c_str());
        if (failure)
            *failure = WriteFailure::Write;
        return false;
    }
    sync_directory(dir);
    return true;
}

bool file_exists(const std::filesystem::path &path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::optional<std::uintmax_t> size_of_file(const std::filesystem::path &path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return size;
}

} // namespace tw
