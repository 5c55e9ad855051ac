#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// A settings file of [Section] headers and key=value lines, read and written
// the way the classic private-profile functions do it. Every read and write
// goes to the file itself; nothing is kept between calls.
//
// Section and key names match without regard to letter case; blanks around
// names and values are ignored; a line whose first character is ';' is a
// comment; a line without '=' is no key; only the first section of a name
// and the first key of a name in it count. A NUL byte ends what is read of
// its line.
class TIniFile {
public:
    // A settings file is a few lines; a larger file is not one of ours. It
    // is neither read (the fallbacks stand) nor rewritten (it stays as it is).
    static constexpr std::size_t MaxFileSize = 1024 * 1024;

    explicit TIniFile(std::string path) : path_(std::move(path)) { }

    const std::string& FileName() const { return path_; }

    // The value's text (at most 1023 characters, without the quotes of a
    // quoted value), or fallback when the file, the section or the key is
    // missing, or the file is no regular file of at most MaxFileSize bytes.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;

    // Writes key=value: over the key's line, else as a new line at the end
    // of the section, else in a new section at the end of the file (made if
    // missing). Every other byte stays as it was; a new line ends the way
    // the file's first line does. The file is replaced whole by a new one
    // with its permissions and, as far as the writer may give them, its
    // owner and group, so a write that fails leaves the old file. Through
    // a symbolic link the file it names is written (and made, if missing),
    // and the link stays. A file that can't be read or written raises
    // EInvalidOperation "Kann nicht nach <path> schreiben".
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    // Writes several keys of one section as WriteString would one after
    // another, with the file replaced once.
    void WriteStrings(
        const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) const;

private:
    std::string path_;
};
