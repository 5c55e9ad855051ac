// Sound.opt as anyone may leave it: the settings are read, others are
// written over them and read back. Every line that is none of the five
// keys must stay where it was, byte for byte, and writing the same again
// must change nothing.

#include "FuzzSupport.h"

#include "sound/SoundSettings.h"
#include "toolkit/windowing/IniFile.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

constexpr std::array<std::string_view, 5> keys = {"Mixrate", "Stereo", "16 Bit", "Filter Mode", "Volume"};

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n\v\f") + 1 - first);
}

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
        std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// A line a write may replace: one of the five names, '=', anything.
bool IsSettingLine(std::string_view line)
{
    line = Trim(line.substr(0, line.find('\0')));
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || line.starts_with(';'))
        return false;
    const std::string_view name = Trim(line.substr(0, equals));
    return std::any_of(keys.begin(), keys.end(), [&](std::string_view key) { return SameName(name, key); });
}

// Every line of before that is no setting stands in after, in order; the
// last line may have gained a line ending.
bool KeepsOtherLines(std::string_view before, std::string_view after)
{
    // A byte order mark stays first, before any line.
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    if (before.starts_with(mark)) {
        if (!after.starts_with(mark))
            return false;
        before.remove_prefix(mark.size());
        after.remove_prefix(mark.size());
    }
    const std::vector<std::string_view> old = Lines(before);
    const std::vector<std::string_view> now = Lines(after);
    std::size_t next = 0;
    const auto skipSettings = [&] {
        while (next < old.size() && IsSettingLine(old[next]))
            ++next;
    };
    skipSettings();
    for (std::string_view line : now) {
        if (next == old.size())
            break;
        const bool last = !old[next].ends_with('\n');
        if (line == old[next] ||
            (last && (line == std::string(old[next]) + "\n" || line == std::string(old[next]) + "\r\n"))) {
            ++next;
            skipSettings();
        }
    }
    // Five keys and a header at most are added.
    return next == old.size() && now.size() <= old.size() + 6;
}

bool Same(const TSoundSettings& a, const TSoundSettings& b)
{
    return a.MixRate == b.MixRate && a.Stereo == b.Stereo && a.Bits16 == b.Bits16 && a.FilterMode == b.FilterMode &&
        a.Volume == b.Volume;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = fuzz::ScratchFolder("settings");
    const TSoundSettingsFile file(folder);
    fuzz::WriteFile(file.Path(), data, size);
    const std::string before(reinterpret_cast<const char*>(data), size);

    const TSoundSettings read = file.Read();
    const TSoundSettings changed{static_cast<std::int32_t>(static_cast<std::uint32_t>(read.MixRate) + 1), !read.Stereo,
        !read.Bits16, static_cast<std::uint8_t>(read.FilterMode + 1), (read.Volume + 1) % 101};
    if (size > TIniFile::MaxFileSize)
        return 0;
    file.Write(changed); // a small regular file is always written
    const std::string after = fuzz::ReadFile(file.Path());
    FUZZ_CHECK(Same(file.Read(), changed));
    FUZZ_CHECK(KeepsOtherLines(before, after));

    file.Write(changed);
    FUZZ_CHECK(fuzz::ReadFile(file.Path()) == after);
    return 0;
}
