#include "SkinAssets.h"

std::vector<TSkinAsset> SkinAssets()
{
    std::vector<TSkinAsset> assets;
    for (int n = 1; n <= 5; ++n)
        for (const char* look : {"up", "down", "locked"})
            assets.push_back({"song" + std::to_string(n) + "_" + look + ".bmp", 209, 40, TPixelFormat::pf8bit});
    for (const char* button : {"rew", "stop", "ff"})
        for (const char* look : {"up", "down"})
            assets.push_back({std::string(button) + "_" + look + ".bmp", 30, 30, TPixelFormat::pf8bit});
    assets.push_back({"options_up.bmp", 85, 30, TPixelFormat::pf8bit});
    assets.push_back({"options_down.bmp", 85, 30, TPixelFormat::pf8bit});
    assets.push_back({"verzierung.bmp", 58, 53, TPixelFormat::pf4bit});
    assets.push_back({"minimize.bmp", 7, 7, TPixelFormat::pf4bit});
    assets.push_back({"close.bmp", 7, 7, TPixelFormat::pf4bit});
    for (int frame = 0; frame <= 7; ++frame)
        assets.push_back({"star" + std::to_string(frame) + ".bmp", 9, 9, TPixelFormat::pf4bit});
    assets.push_back({"spin_up.bmp", 9, 6, TPixelFormat::pf24bit});
    assets.push_back({"spin_down.bmp", 9, 6, TPixelFormat::pf24bit});
    assets.push_back({"SpinUp.bmp", 9, 6, TPixelFormat::pf4bit});
    assets.push_back({"SpinDown.bmp", 9, 6, TPixelFormat::pf4bit});
    return assets;
}

std::string AssetPath(const std::string& name)
{
    return std::string(VELMORA_ASSETS_DIR) + "/" + name;
}

std::unique_ptr<TBitmap> LoadAsset(const std::string& name)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(AssetPath(name));
    return bitmap;
}
