#pragma once

#include "toolkit/graphics/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

// One picture the window layouts name, with the size and depth they need.
struct TSkinAsset {
    std::string Name;
    int Width;
    int Height;
    TPixelFormat Format;
};

// Every picture of the skin.
std::vector<TSkinAsset> SkinAssets();

std::string AssetPath(const std::string& name);

// Loads a picture from the assets folder.
std::unique_ptr<TBitmap> LoadAsset(const std::string& name);
