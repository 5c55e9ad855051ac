#include "toolkit/IniFile.h"

#include "toolkit/Exceptions.h"

#include <filesystem>

// Settings files are 8-bit text; no wide-character conversion is wanted.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

constexpr std::size_t maxValueLength = 1023;

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const
{
    CSimpleIniA ini;
    if (ini.LoadFile(path_.c_str()) < 0)
        return fallback;
    const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!value)
        return fallback;
    std::string text(value);
    if (text.size() > maxValueLength)
        text.resize(maxValueLength);
    return text;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const
{
    CSimpleIniA ini;
    ini.SetSpaces(false);
    SI_Error loaded = ini.LoadFile(path_.c_str());
    // A missing file is made; one that exists but can't be read is not replaced.
    if (loaded < 0 && loaded != SI_FILE)
        throw EInvalidOperation(FormatMessage("Kann nicht nach %s schreiben", path_.c_str()));
    if (loaded == SI_FILE && std::filesystem::exists(path_))
        throw EInvalidOperation(FormatMessage("Kann nicht nach %s schreiben", path_.c_str()));
    ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    if (ini.SaveFile(path_.c_str(), false) < 0)
        throw EInvalidOperation(FormatMessage("Kann nicht nach %s schreiben", path_.c_str()));
}
