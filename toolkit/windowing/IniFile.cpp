#include "toolkit/windowing/IniFile.h"

#include "toolkit/graphics/Exceptions.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t maxValueLength = 1023;

// One line of the file: its text and the line ending after it ("\n",
// "\r\n" or, on the last line, none).
struct TLine {
    std::size_t offset = 0; // of the text in the file
    std::string_view text;
    std::size_t endingSize = 0;

    std::size_t End() const { return offset + text.size() + endingSize; }
};

std::vector<TLine> SplitLines(std::string_view file)
{
    std::vector<TLine> lines;
    // A UTF-8 byte order mark belongs to no line.
    std::size_t offset = file.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (offset < file.size()) {
        TLine line;
        line.offset = offset;
        const std::size_t newline = file.find('\n', offset);
        if (newline == std::string_view::npos) {
            line.text = file.substr(offset);
        } else {
            std::size_t textEnd = newline;
            if (textEnd > offset && file[textEnd - 1] == '\r')
                --textEnd;
            line.text = file.substr(offset, textEnd - offset);
            line.endingSize = newline + 1 - textEnd;
        }
        lines.push_back(line);
        offset = line.End();
    }
    return lines;
}

// New lines end the way the file's first line does.
std::string_view LineEnding(const std::vector<TLine>& lines)
{
    for (const TLine& line : lines) {
        if (line.endingSize == 2)
            return "\r\n";
        if (line.endingSize == 1)
            return "\n";
    }
    return "\n";
}

std::string_view Trim(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// What a reader of C strings sees of a line: the text up to a NUL byte.
std::string_view Readable(std::string_view line)
{
    return Trim(line.substr(0, line.find('\0')));
}

// "[name]", blanks allowed inside and around; the last ']' closes it.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Readable(line);
    const std::size_t close = line.rfind(']');
    if (!line.starts_with('[') || close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct TEntry {
    std::string_view name;
    std::string_view value;
};

// "name=value", blanks allowed around both; not a comment, not a header.
std::optional<TEntry> Entry(std::string_view line)
{
    line = Readable(line);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || line.starts_with(';') || SectionName(line))
        return std::nullopt;
    return TEntry{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Where a key stands in the first section of its name.
struct TPlace {
    const TLine* header = nullptr; // the section's header line
    const TLine* key = nullptr;    // the key's first line in it
    const TLine* last = nullptr;   // the section's last line that isn't blank
};

TPlace Find(const std::vector<TLine>& lines, std::string_view section, std::string_view key)
{
    TPlace place;
    for (const TLine& line : lines) {
        if (const std::optional<std::string_view> name = SectionName(line.text)) {
            if (place.header)
                break;
            if (SameName(*name, section))
                place.header = place.last = &line;
            continue;
        }
        if (!place.header)
            continue;
        if (!Trim(line.text).empty())
            place.last = &line;
        if (!place.key) {
            if (const std::optional<TEntry> entry = Entry(line.text); entry && SameName(entry->name, key))
                place.key = &line;
        }
    }
    return place;
}

// The file with key=value written into it and every other byte kept.
std::string WithValue(
    std::string_view file, const std::string& section, const std::string& key, const std::string& value)
{
    const std::vector<TLine> lines = SplitLines(file);
    const TPlace place = Find(lines, section, key);
    const std::string ending(LineEnding(lines));
    std::string text(file);
    if (place.key) {
        // The key keeps the spelling the file gives it.
        const std::string entry = std::string(Entry(place.key->text)->name) + "=" + value;
        text.replace(place.key->offset, place.key->text.size(), entry);
    } else if (place.header) {
        const std::string added = (place.last->endingSize == 0 ? ending : "") + key + "=" + value + ending;
        text.insert(place.last->End(), added);
    } else {
        const bool open = !lines.empty() && lines.back().endingSize == 0;
        text += (open ? ending : "") + "[" + section + "]" + ending + key + "=" + value + ending;
    }
    return text;
}

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

struct TFileText {
    enum class State { Missing, Read, Refused };
    State state = State::Refused;
    std::string bytes;
    struct stat info { };
};

// The file's bytes, checked before anything is read: only a regular file of
// at most TIniFile::MaxFileSize bytes is read at all.
TFileText Load(const std::string& path)
{
    TFileText file;
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        if (errno == ENOENT)
            file.state = TFileText::State::Missing;
        return file;
    }
    if (::fstat(fd.Get(), &file.info) != 0 || !S_ISREG(file.info.st_mode) ||
        static_cast<std::uintmax_t>(file.info.st_size) > TIniFile::MaxFileSize)
        return file;
    file.bytes.reserve(static_cast<std::size_t>(file.info.st_size));
    char chunk[16384];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        // A file that grew past the bound while it was read is refused too.
        if (got < 0 || file.bytes.size() + static_cast<std::size_t>(got) > TIniFile::MaxFileSize)
            return file;
        file.bytes.append(chunk, static_cast<std::size_t>(got));
    }
    file.state = TFileText::State::Read;
    return file;
}

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

// Puts a new file with these bytes in the place of path: written beside it
// and renamed over it, so the old file stays whole until the new one is.
// old is the file being replaced (its owner and permissions carry over), or
// null. Through a symbolic link the file it names is replaced or made, and
// the link stays.
bool Replace(const std::string& path, std::string_view bytes, const struct stat* old)
{
    const std::optional<std::filesystem::path> target = ThroughLinks(path);
    if (!target)
        return false;

    std::string temporary;
    TFileDescriptor fd;
    for (int attempt = 0; !fd && attempt < 100; ++attempt) {
        temporary = target->string() + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        // A new file gets the permissions the umask allows, as any new file.
        fd = TFileDescriptor(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666));
        if (!fd && errno != EEXIST)
            return false;
    }
    if (!fd)
        return false;

    bool written = (!old || TakeOver(fd.Get(), *old)) && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    written = fd.Close() && written;
    if (written && ::rename(temporary.c_str(), target->c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const TFileText file = Load(path_);
    if (file.state != TFileText::State::Read)
        return fallback;
    const std::vector<TLine> lines = SplitLines(file.bytes);
    const TPlace place = Find(lines, section, key);
    if (!place.key)
        return fallback;
    return std::string(Unquoted(Entry(place.key->text)->value).substr(0, maxValueLength));
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const
{
    WriteStrings(section, {{key, value}});
}

void TIniFile::WriteStrings(
    const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) const
{
    const TFileText file = Load(path_);
    const auto withValues = [&](std::string bytes) {
        for (const auto& [key, value] : values)
            bytes = WithValue(bytes, section, key, value);
        return bytes;
    };
    bool done = false;
    if (file.state == TFileText::State::Missing) {
        done = Replace(path_, withValues(""), nullptr);
    } else if (file.state == TFileText::State::Read) {
        // A file its owner made read-only is not replaced behind their back.
        done = ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) == 0 &&
            Replace(path_, withValues(file.bytes), &file.info);
    }
    if (!done)
        throw EInvalidOperation(FormatMessage("Kann nicht nach %s schreiben", path_.c_str()));
}
