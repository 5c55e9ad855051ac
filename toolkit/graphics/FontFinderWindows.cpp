#include "toolkit/graphics/FontFinder.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/Utf8Path.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string_view>

// Windows has no fontconfig, and its own faces differ from one Windows to
// the next: the disc brings the faces its windows are drawn with, in the
// folder fonts\ beside the program (VELMORA_FONT_DIR names another), and
// maps the names the layouts ask for onto them as fontconfig does on Linux.
// Every Windows then draws the skin as Linux does.

namespace {

struct TFamily {
    std::string_view Name; // lower case
    std::array<std::string_view, 4> Files; // regular, bold, italic, bold italic; empty: faked
};

constexpr std::array<TFamily, 2> families = {{
    {"liberation sans",
        {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSans-Italic.ttf",
            "LiberationSans-BoldItalic.ttf"}},
    {"dejavu sans", {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "", ""}},
}};

// Names fontconfig maps to the same faces on Linux; any other name gets
// DejaVu Sans, as fontconfig's last resort does.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> aliases = {{
    {"arial", "liberation sans"},
    {"helvetica", "liberation sans"},
    {"sans-serif", "dejavu sans"},
    {"sans", "dejavu sans"},
}};

std::string Lower(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::filesystem::path FontFolder()
{
    if (const char* named = std::getenv("VELMORA_FONT_DIR"); named && *named)
        return PathOf(named);
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    return std::filesystem::path(program).parent_path() / "fonts";
}

} // namespace

struct TFontFinder::TState {
    std::filesystem::path folder;
};

TFontFinder::TFontFinder() : state_(std::make_unique<TState>())
{
}

TFontFinder::~TFontFinder() = default;

void TFontFinder::Release()
{
}

TFaceSource TFontFinder::Find(const std::string& family, bool bold, bool italic)
{
    if (state_->folder.empty())
        state_->folder = FontFolder();
    std::string name = Lower(family);
    for (const auto& [alias, to] : aliases)
        if (name == alias)
            name = to;
    const TFamily* found = &families.back();
    for (const TFamily& each : families)
        if (name == each.Name)
            found = &each;

    const int styled = (bold ? 1 : 0) + (italic ? 2 : 0);
    TFaceSource source;
    std::string_view file = found->Files[static_cast<std::size_t>(styled)];
    if (file.empty()) {
        // The style is faked on the face without it.
        file = found->Files[bold && !found->Files[1].empty() ? 1 : 0];
        source.SynthBold = bold && file == found->Files[0];
        source.SynthItalic = italic;
    }
    const std::filesystem::path path = state_->folder / std::string(file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw EPlatformError(FormatText("No font file draws the face %s: %s is missing", family.c_str(),
            Utf8Of(path).c_str()));
    source.File = Utf8Of(path);
    return source;
}
