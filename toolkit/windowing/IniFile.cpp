#include "toolkit/windowing/IniFile.h"

#include "toolkit/graphics/Exceptions.h"

#include "toolkit/windowing/TextFile.h"

#include <optional>
#include <string_view>
#include <vector>

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

// New lines end the way the file's first line does; in a file without
// one, the way the system's text files do.
std::string_view LineEnding(const std::vector<TLine>& lines)
{
    for (const TLine& line : lines) {
        if (line.endingSize == 2)
            return "\r\n";
        if (line.endingSize == 1)
            return "\n";
    }
    return NewFileLineEnding();
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

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const TTextFileContents file = ReadTextFile(path_, MaxFileSize);
    if (file.State != TTextFileContents::TState::Read)
        return fallback;
    const std::vector<TLine> lines = SplitLines(file.Bytes);
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
    const TTextFileContents file = ReadTextFile(path_, MaxFileSize);
    const auto withValues = [&](std::string bytes) {
        for (const auto& [key, value] : values)
            bytes = WithValue(bytes, section, key, value);
        return bytes;
    };
    bool done = false;
    if (file.State == TTextFileContents::TState::Missing)
        done = ReplaceTextFile(path_, withValues(""));
    else if (file.State == TTextFileContents::TState::Read)
        done = ReplaceTextFile(path_, withValues(file.Bytes));
    if (!done)
        throw EInvalidOperation(FormatText("Kann nicht nach %s schreiben", path_.c_str()));
}
