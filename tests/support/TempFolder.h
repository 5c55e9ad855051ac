#pragma once

// A test's own files: a fresh folder removed with the object, and whole
// files read and written in one call.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with its trailing separator, as a program directory is given.
    std::string Dir() const { return path_.string() + "/"; }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    // Each writes the file and answers its path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::string WriteText(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
