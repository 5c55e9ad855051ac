#include "sound/SoundSettings.h"

#include "toolkit/windowing/IniFile.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

constexpr const char* section = "Sound";

template <typename Integer>
bool ConvertWhole(std::string_view digits, Integer& value, int base)
{
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, value, base);
    return error == std::errc{} && stop == end;
}

std::int32_t ReadInteger(const TIniFile& ini, const char* key, std::int32_t fallback)
{
    return ConvertSettingInteger(ini.ReadString(section, key, ""), fallback);
}

bool ReadBoolean(const TIniFile& ini, const char* key, bool fallback)
{
    return ReadInteger(ini, key, fallback ? 1 : 0) != 0;
}

} // namespace

std::int32_t ConvertSettingInteger(std::string text, std::int32_t fallback)
{
    if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X")))
        text.replace(0, 2, "$");

    std::string_view rest(text);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    if (rest.empty())
        return fallback;

    if (rest.front() == '$') {
        std::uint32_t pattern = 0;
        // from_chars takes no sign for an unsigned value, so "$-1" fails here.
        if (!ConvertWhole(rest.substr(1), pattern, 16))
            return fallback;
        return static_cast<std::int32_t>(pattern);
    }

    // from_chars knows "-" but not "+"; a "+" must not be followed by a second sign.
    if (rest.front() == '+') {
        rest.remove_prefix(1);
        if (rest.starts_with('-'))
            return fallback;
    }
    std::int32_t value = 0;
    if (!ConvertWhole(rest, value, 10))
        return fallback;
    return value;
}

TSoundSettings TSoundSettingsFile::Read() const
{
    const TIniFile ini(path_);
    const TSoundSettings defaults;
    TSoundSettings settings;
    settings.MixRate = ReadInteger(ini, "Mixrate", defaults.MixRate);
    settings.Stereo = ReadBoolean(ini, "Stereo", defaults.Stereo);
    settings.Bits16 = ReadBoolean(ini, "16 Bit", defaults.Bits16);
    // The engine knows filter modes 0 to 2; a stored value keeps its low byte.
    settings.FilterMode = static_cast<std::uint8_t>(ReadInteger(ini, "Filter Mode", defaults.FilterMode));
    settings.Volume = std::clamp(ReadInteger(ini, "Volume", defaults.Volume), 0, 100);
    return settings;
}

void TSoundSettingsFile::Write(const TSoundSettings& settings) const
{
    // One replacement of the file, synced once: a disc that ends waits
    // for it.
    TIniFile(path_).WriteStrings(section,
        {
            {"Mixrate", std::to_string(settings.MixRate)},
            {"Stereo", settings.Stereo ? "1" : "0"},
            {"16 Bit", settings.Bits16 ? "1" : "0"},
            {"Filter Mode", std::to_string(settings.FilterMode)},
            {"Volume", std::to_string(settings.Volume)},
        });
}
