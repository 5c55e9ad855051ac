#include "toolkit/windowing/DesktopScale.h"

#include <algorithm>
#include <charconv>

TDesktopScale ScaleFor(std::optional<int> requested, int dotsPerInch)
{
    if (requested && *requested >= 1 && *requested <= TDesktopScale::MaxFactor)
        return {*requested};
    return {std::clamp(dotsPerInch / 96, 1, TDesktopScale::MaxFactor)};
}

std::optional<int> XftDpiOf(std::string_view resources)
{
    constexpr std::string_view key = "Xft.dpi:";
    for (std::size_t start = 0; start < resources.size();) {
        std::size_t end = std::min(resources.find('\n', start), resources.size());
        std::string_view line = resources.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(key))
            continue;
        line.remove_prefix(key.size());
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        // Some desktops write the setting with a fraction: 192.0.
        double dpi = 0;
        auto [stop, error] = std::from_chars(line.data(), line.data() + line.size(), dpi);
        if (error == std::errc{} && dpi > 0 && dpi < 10000)
            return static_cast<int>(dpi + 0.5);
    }
    return std::nullopt;
}
