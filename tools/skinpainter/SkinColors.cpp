#include "tools/skinpainter/SkinColors.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace skin {

namespace {

int Distance(TPixel a, TPixel b)
{
    int dr = GetRValue(a) - GetRValue(b);
    int dg = GetGValue(a) - GetGValue(b);
    int db = GetBValue(a) - GetBValue(b);
    return dr * dr + dg * dg + db * db;
}

// steps colours from a (left out) to b (included).
void AddRamp(std::vector<TPixel>& palette, TPixel a, TPixel b, int steps)
{
    for (int i = 1; i <= steps; ++i) {
        TPixel c = Mix(a, b, static_cast<double>(i) / steps);
        if (std::find(palette.begin(), palette.end(), c) == palette.end())
            palette.push_back(c);
    }
}

std::vector<TPixel> Ramps()
{
    std::vector<TPixel> palette{Black, White};
    AddRamp(palette, Black, White, 15);
    AddRamp(palette, Black, Slate, 40);
    AddRamp(palette, Black, Amber, 40);
    AddRamp(palette, Black, Bronze, 10);
    AddRamp(palette, Bronze, Gold, 20);
    AddRamp(palette, Gold, Cream, 12);
    AddRamp(palette, Cream, White, 3);
    AddRamp(palette, Black, SkyBlue, 12);
    AddRamp(palette, SkyBlue, White, 6);
    return palette;
}

} // namespace

TPixel Mix(TPixel a, TPixel b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [&](int ca, int cb) { return static_cast<int>(std::lround(ca + (cb - ca) * t)); };
    return MakeColor(
        channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)), channel(GetBValue(a), GetBValue(b)));
}

TPixel Shade(TPixel a, double light)
{
    return Mix(Black, a, light);
}

std::vector<TPixel> EightBitPalette(std::span<const TPixmap* const> pictures)
{
    std::vector<TPixel> palette = Ramps();

    // An ordered map, so that ties between equally bad colours always go
    // the same way.
    std::map<TPixel, long long> counts;
    for (const TPixmap* picture : pictures)
        for (int y = 0; y < picture->Height(); ++y)
            for (int x = 0; x < picture->Width(); ++x)
                ++counts[picture->At(x, y)];

    struct Candidate {
        TPixel Colour;
        long long Count;
        int Error; // squared distance to the nearest entry so far
    };
    std::vector<Candidate> candidates;
    candidates.reserve(counts.size());
    for (auto [colour, count] : counts) {
        int error = Distance(colour, NearestPaletteColor(colour, palette));
        candidates.push_back({colour, count, error});
    }

    while (palette.size() < 256) {
        auto worst = std::max_element(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.Count * a.Error < b.Count * b.Error; });
        if (worst == candidates.end() || worst->Error == 0)
            break;
        const TPixel added = worst->Colour;
        palette.push_back(added);
        for (Candidate& c : candidates)
            c.Error = std::min(c.Error, Distance(c.Colour, added));
    }
    // Unused entries repeat black; the first of equal entries is the one
    // pixels are stored as.
    palette.resize(256, Black);
    return palette;
}

} // namespace skin
