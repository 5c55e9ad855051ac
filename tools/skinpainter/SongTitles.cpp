#include "tools/skinpainter/SongTitles.h"

#include <array>
#include <fstream>
#include <string_view>

namespace skin {

namespace {

// An XM file opens with this text and then the 20 bytes of the module name,
// padded with spaces or zeros.
constexpr std::string_view XmId = "Extended Module: ";
constexpr std::size_t NameLength = 20;

} // namespace

std::string SongTitle(const std::string& assetsDir, int n)
{
    const std::string placeholder = "Song " + std::to_string(n);
    std::ifstream file(assetsDir + "/song" + std::to_string(n) + ".xm", std::ios::binary);
    std::array<char, XmId.size() + NameLength> header{};
    if (!file.read(header.data(), header.size()))
        return placeholder;
    if (std::string_view(header.data(), XmId.size()) != XmId)
        return placeholder;

    // Trackers store the name in a one-byte code page; read as Latin-1 it
    // becomes UTF-8, which is what the canvas draws. Control bytes would
    // draw as boxes and become spaces.
    std::string name;
    for (char c : std::string_view(header.data() + XmId.size(), NameLength)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            break;
        if (byte < 0x20) {
            name += ' ';
        } else if (byte < 0x80) {
            name += c;
        } else {
            name += static_cast<char>(0xC0 | (byte >> 6));
            name += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return placeholder;
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

} // namespace skin
