#include "tools/skinpainter/SkinPainter.h"

#include "toolkit/graphics/Exceptions.h"
#include "tools/skinpainter/ControlButtons.h"
#include "tools/skinpainter/Ornament.h"
#include "tools/skinpainter/SkinColors.h"
#include "tools/skinpainter/SmallGlyphs.h"
#include "tools/skinpainter/SongButton.h"
#include "tools/skinpainter/SongTitles.h"

#include <algorithm>

namespace skin {

namespace {

// The olive that the options window's spin glyphs are drawn transparent by.
constexpr TPixel SpinOlive = MakeColor(0x7F, 0x7F, 0x00);

const char* LookName(ButtonLook look)
{
    switch (look) {
    case ButtonLook::Up: return "up";
    case ButtonLook::Down: return "down";
    case ButtonLook::Locked: return "locked";
    }
    return "";
}

// The buttons, painted at 24 bits and brought down to 8 bits together.
std::vector<Picture> PaintButtons(const std::string& assetsDir)
{
    std::vector<Picture> pictures;
    std::vector<std::string> titles;
    for (int n = 1; n <= 5; ++n)
        titles.push_back(SongTitle(assetsDir, n));
    const int titlePixels = TitlePixels(titles);
    for (int n = 1; n <= 5; ++n)
        for (ButtonLook look : {ButtonLook::Up, ButtonLook::Down, ButtonLook::Locked})
            pictures.push_back({"song" + std::to_string(n) + "_" + LookName(look) + ".bmp",
                PaintSongButton(n, titles[n - 1], titlePixels, look)});
    const std::pair<const char*, Transport> transports[] = {
        {"rew", Transport::Rewind}, {"stop", Transport::Stop}, {"ff", Transport::FastForward}};
    for (auto [name, kind] : transports)
        for (ButtonLook look : {ButtonLook::Up, ButtonLook::Down})
            pictures.push_back({std::string(name) + "_" + LookName(look) + ".bmp", PaintTransportButton(kind, look)});
    for (ButtonLook look : {ButtonLook::Up, ButtonLook::Down})
        pictures.push_back({std::string("options_") + LookName(look) + ".bmp", PaintOptionsButton(look)});

    std::vector<const TPixmap*> sources;
    for (const Picture& p : pictures)
        sources.push_back(&p.Bitmap->Pixmap());
    const std::vector<TPixel> palette = EightBitPalette(sources);
    for (Picture& p : pictures) {
        auto paletted = std::make_unique<TBitmap>(p.Bitmap->Width(), p.Bitmap->Height(), TPixelFormat::pf8bit);
        paletted->SetPalette(palette);
        paletted->Canvas().Draw(0, 0, *p.Bitmap);
        p.Bitmap = std::move(paletted);
    }
    return pictures;
}

} // namespace

std::vector<Picture> PaintSkin(const std::string& assetsDir)
{
    std::vector<Picture> pictures = PaintButtons(assetsDir);
    pictures.push_back({"verzierung.bmp", PaintOrnament()});
    pictures.push_back({"minimize.bmp", PaintMinimizeGlyph()});
    pictures.push_back({"close.bmp", PaintCloseGlyph()});
    for (int frame = 0; frame <= 7; ++frame)
        pictures.push_back({"star" + std::to_string(frame) + ".bmp", PaintStar(frame)});
    pictures.push_back({"spin_up.bmp", PaintSpinGlyph(true, SpinOlive, TPixelFormat::pf24bit)});
    pictures.push_back({"spin_down.bmp", PaintSpinGlyph(false, SpinOlive, TPixelFormat::pf24bit)});
    pictures.push_back({"SpinUp.bmp", PaintSpinGlyph(true, ColorToRGB(clOlive), TPixelFormat::pf4bit)});
    pictures.push_back({"SpinDown.bmp", PaintSpinGlyph(false, ColorToRGB(clOlive), TPixelFormat::pf4bit)});
    return pictures;
}

void WritePictures(const std::vector<Picture>& pictures, const std::string& folder)
{
    for (const Picture& p : pictures)
        p.Bitmap->SaveToFile(folder + "/" + p.Name);
}

const TBitmap& Find(const std::vector<Picture>& pictures, const std::string& name)
{
    auto found = std::find_if(pictures.begin(), pictures.end(), [&](const Picture& p) { return p.Name == name; });
    if (found == pictures.end())
        throw EToolkitError("The skin has no picture " + name);
    return *found->Bitmap;
}

} // namespace skin
