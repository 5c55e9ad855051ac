#include "toolkit/graphics/FontEngine.h"

#include "toolkit/graphics/Exceptions.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace {

// Faces of the classic desktop that no Linux font answers to by name, with
// the family that looks and measures closest. Names fontconfig already knows
// how to replace (Arial, Times New Roman, Courier New) are left to it.
constexpr std::array<std::pair<const char*, const char*>, 6> substitutes = {{
    {"ms sans serif", "Liberation Sans"},
    {"ms shell dlg", "Liberation Sans"},
    {"ms shell dlg 2", "Liberation Sans"},
    {"system", "Liberation Sans"},
    {"small fonts", "Liberation Sans"},
    {"ms serif", "Liberation Serif"},
}};

// Open faces kept at most; a window uses a handful.
constexpr std::size_t maxOpenFaces = 64;

std::string Lower(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void TFontEngine::LibraryDeleter::operator()(FT_LibraryRec_* library) const
{
    FT_Done_FreeType(library);
}

TFontEngine& TFontEngine::Instance()
{
    static TFontEngine engine;
    return engine;
}

TFontEngine::TFontEngine()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        throw EPlatformError("FreeType can't be started");
    library_.reset(library);
}

void TFontEngine::ReleaseFontFinder()
{
    finder_.Release();
}

// The faces go before the library that made them.
TFontEngine::~TFontEngine()
{
    byFont_.clear();
    faces_.clear();
}

void TFontEngine::RegisterFaceFile(const std::string& faceName, const std::string& path)
{
    registered_[Lower(faceName)] = path;
    std::erase_if(resolved_, [&](const auto& entry) { return entry.first.first == Lower(faceName); });
    byFont_.clear();
}

TFaceSource TFontEngine::Resolve(const std::string& faceName, TFontStyles style)
{
    std::string name = Lower(faceName);
    int styleKey = style & (fsBold | fsItalic);
    auto key = std::make_pair(name, styleKey);
    if (auto found = resolved_.find(key); found != resolved_.end())
        return found->second;

    bool bold = (style & fsBold) != 0;
    bool italic = (style & fsItalic) != 0;
    TFaceSource source;
    if (auto file = registered_.find(name); file != registered_.end()) {
        source = {file->second, 0, bold, italic};
    } else {
        std::string family = faceName;
        for (const auto& [from, to] : substitutes)
            if (name == from)
                family = to;
        source = finder_.Find(family, bold, italic);
    }
    resolved_.emplace(key, source);
    return source;
}

TFontFace& TFontEngine::Face(const TFont& font)
{
    return Face(font.Name(), font.Height(), font.Style());
}

TFontFace& TFontEngine::Face(const std::string& faceName, int height, TFontStyles style)
{
    if (height == 0)
        height = -11;
    int styleKey = style & (fsBold | fsItalic);
    auto fontKey = std::make_tuple(Lower(faceName), height, styleKey);
    if (auto found = byFont_.find(fontKey); found != byFont_.end())
        return *found->second;

    TFaceSource source = Resolve(faceName, style);
    auto faceKey = std::make_tuple(source.File, source.Index, source.SynthBold, source.SynthItalic, height);
    auto face = faces_.find(faceKey);
    if (face == faces_.end()) {
        if (faces_.size() >= maxOpenFaces) {
            byFont_.clear();
            faces_.clear();
        }
        face = faces_.emplace(faceKey, std::make_unique<TFontFace>(library_.get(), source, height)).first;
    }
    byFont_.emplace(fontKey, face->second.get());
    return *face->second;
}

bool IsOutlineFace(const std::string& faceName)
{
    return TFontEngine::Instance().Face(faceName, 10, 0).IsScalable();
}
