#pragma once

#include <string>

// A settings file of [Section] headers and key=value lines. Every read and
// write goes to the file itself; nothing is kept between calls. Section and
// key names match without regard to letter case.
class TIniFile {
public:
    explicit TIniFile(std::string path) : path_(std::move(path)) {}

    const std::string& FileName() const { return path_; }

    // The value's text (at most 1023 characters), or fallback when the file,
    // the section or the key is missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Replaces the key's value or adds the key, the section or the file,
    // leaving every other line as it was. A file that can't be written
    // raises EInvalidOperation "Kann nicht nach <path> schreiben".
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string path_;
};
