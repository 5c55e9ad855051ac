#include "desktop/Utf8.h"

std::string ValidUtf8(std::string_view text)
{
    constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string valid;
    valid.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            valid += static_cast<char>(lead);
            ++at;
            continue;
        }
        // How many continuation bytes the lead byte asks for, and the range
        // the first of them must fall in to leave out overlong forms,
        // surrogates and what lies past U+10FFFF.
        int needed = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            needed = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            needed = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            needed = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        std::size_t end = at + 1;
        int found = 0;
        while (found < needed && end < text.size()) {
            const auto next = static_cast<unsigned char>(text[end]);
            if (next < low || next > high)
                break;
            low = 0x80;
            high = 0xBF;
            ++end;
            ++found;
        }
        if (needed > 0 && found == needed)
            valid.append(text.substr(at, end - at));
        else
            valid.append(replacement);
        at = end;
    }
    return valid;
}
