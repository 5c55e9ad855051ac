#include "toolkit/graphics/FontFinder.h"

#include "toolkit/graphics/Exceptions.h"

#include <fontconfig/fontconfig.h>

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

} // namespace

// A configuration of the finder's own rather than fontconfig's default one:
// other libraries in the process (a window decoration plugin drawing its
// title with pango, say) use the default and its caches, so only a private
// one may be torn down while they run.
struct TFontFinder::TState {
    std::unique_ptr<FcConfig, ConfigDeleter> config;
};

TFontFinder::TFontFinder() : state_(std::make_unique<TState>())
{
}

TFontFinder::~TFontFinder() = default;

void TFontFinder::Release()
{
    state_->config.reset();
}

TFaceSource TFontFinder::Find(const std::string& family, bool bold, bool italic)
{
    if (!state_->config) {
        state_->config.reset(FcInitLoadConfigAndFonts());
        if (!state_->config)
            throw EPlatformError("fontconfig can't read its configuration");
    }
    FcConfig* config = state_->config.get();

    PatternPtr pattern(FcPatternCreate());
    if (!pattern)
        throw EPlatformError("fontconfig can't make a pattern");
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
        throw EPlatformError(FormatText("No font file draws the face %s", family.c_str()));

    TFaceSource source;
    source.File = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch)
        source.Index = index;
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    source.SynthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
    source.SynthItalic = italic && slant == FC_SLANT_ROMAN;
    return source;
}
