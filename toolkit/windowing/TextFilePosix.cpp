#include "toolkit/windowing/TextFile.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd = -1) : fd_(fd) { }
    ~TFileDescriptor() { Close(); }
    TFileDescriptor(TFileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) { }
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept
    {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        return *this;
    }

    explicit operator bool() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // False when the data written could not be kept.
    bool Close()
    {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

// The file a path names, through symbolic links, also when a link names a
// file that doesn't exist yet; none for a loop or a link that can't be read.
std::optional<std::filesystem::path> ThroughLinks(std::filesystem::path path)
{
    // The kernel's own limit for one path.
    constexpr int maxLinks = 40;
    for (int link = 0; link <= maxLinks; ++link) {
        struct stat info { };
        if (::lstat(path.c_str(), &info) != 0)
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        if (!S_ISLNK(info.st_mode))
            return path;
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error)
            return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

// The new file takes the old one's owner and group, as far as the writer
// may give them (the superuser always; anyone else a group of their own),
// then its mode: a change of owner clears the set-user-ID bits.
bool TakeOver(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

} // namespace

TTextFileContents ReadTextFile(const std::string& path, std::size_t maxBytes)
{
    TTextFileContents file;
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        if (errno == ENOENT)
            file.State = TTextFileContents::TState::Missing;
        return file;
    }
    struct stat info { };
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        return file;
    file.Bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[16384];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        // A file that grew past the bound while it was read is refused too.
        if (got < 0 || file.Bytes.size() + static_cast<std::size_t>(got) > maxBytes)
            return file;
        file.Bytes.append(chunk, static_cast<std::size_t>(got));
    }
    file.State = TTextFileContents::TState::Read;
    return file;
}

bool ReplaceTextFile(const std::string& path, std::string_view bytes)
{
    const std::optional<std::filesystem::path> target = ThroughLinks(path);
    if (!target)
        return false;
    struct stat old { };
    const bool replacing = ::stat(target->c_str(), &old) == 0;
    if (replacing && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
        return false;

    std::string temporary;
    TFileDescriptor fd;
    for (int attempt = 0; !fd && attempt < 100; ++attempt) {
        temporary = target->string() + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        // A new file gets the permissions the umask allows, as any new file.
        fd = TFileDescriptor(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666));
        if (!fd && errno != EEXIST)
            return false;
    }
    if (!fd)
        return false;

    bool written = (!replacing || TakeOver(fd.Get(), old)) && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    written = fd.Close() && written;
    if (written && ::rename(temporary.c_str(), target->c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

std::string_view NewFileLineEnding()
{
    return "\n";
}
