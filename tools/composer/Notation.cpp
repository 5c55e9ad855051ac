#include "tools/composer/Notation.h"

#include "tools/composer/Theory.h"
#include "tools/modwriter/ModuleWriter.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace composer {
namespace {

int Hex(char c, std::string_view token)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    throw std::invalid_argument("bad hex digit in \"" + std::string(token) + "\"");
}

// Reads a decimal number from the front of `text`.
int Number(std::string_view& text, std::string_view token)
{
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])))
        value = value * 10 + (text[digits++] - '0');
    if (digits == 0)
        throw std::invalid_argument("number missing in \"" + std::string(token) + "\"");
    text.remove_prefix(digits);
    return value;
}

NoteEvent ParseToken(std::string_view token)
{
    NoteEvent event;
    std::string_view rest = token;
    if (rest.starts_with("==")) {
        event.note = modwriter::NoteOff;
        rest.remove_prefix(2);
    } else if (rest.starts_with(".")) {
        rest.remove_prefix(1);
    } else if (!rest.empty() && rest[0] >= 'A' && rest[0] <= 'G') {
        std::size_t length = 2;
        if (rest.size() > 2 && (rest[1] == '-' || rest[1] == '#' || rest[1] == 'b'))
            length = 3;
        event.note = static_cast<std::uint8_t>(ParseNote(rest.substr(0, length)));
        rest.remove_prefix(length);
    }
    while (!rest.empty()) {
        const char key = rest[0];
        rest.remove_prefix(1);
        switch (key) {
        case '/':
            event.rows = Number(rest, token);
            if (event.rows < 1)
                throw std::invalid_argument("zero length in \"" + std::string(token) + "\"");
            break;
        case 'v':
            event.volume = Number(rest, token);
            if (event.volume > 64)
                throw std::invalid_argument("volume above 64 in \"" + std::string(token) + "\"");
            break;
        case 'i': event.instrument = Number(rest, token); break;
        case ':': {
            if (rest.size() < 3)
                throw std::invalid_argument("short effect in \"" + std::string(token) + "\"");
            const char letter = rest[0];
            if (letter >= '0' && letter <= '9')
                event.effect = static_cast<std::uint8_t>(letter - '0');
            else if (letter >= 'A' && letter <= 'Z')
                event.effect = static_cast<std::uint8_t>(letter - 'A' + 10);
            else
                throw std::invalid_argument("bad effect in \"" + std::string(token) + "\"");
            event.param = static_cast<std::uint8_t>(Hex(rest[1], token) * 16 + Hex(rest[2], token));
            rest.remove_prefix(3);
            break;
        }
        default: throw std::invalid_argument("can't read \"" + std::string(token) + "\"");
        }
    }
    return event;
}

} // namespace

NoteLine ParseNotes(std::string_view text)
{
    NoteLine line;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
            ++at;
        std::size_t end = at;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string_view token = text.substr(at, end - at);
        at = end;
        if (token.empty() || token == "|")
            continue;
        NoteEvent event = ParseToken(token);
        event.row = line.rows;
        line.rows += event.rows;
        if (event.note || event.volume >= 0 || event.effect || event.param || event.instrument)
            line.events.push_back(event);
    }
    return line;
}

} // namespace composer
