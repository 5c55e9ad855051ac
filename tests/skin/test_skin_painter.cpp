#include "SkinAssets.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<char> Bytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A fresh folder holding the committed song files, so that the painter
// letters the buttons with the same titles the committed pictures carry.
class PainterRun : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("velmora_skin_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        for (int n = 1; n <= 5; ++n) {
            fs::path song = AssetPath("song" + std::to_string(n) + ".xm");
            if (fs::exists(song))
                fs::copy_file(song, folder_ / song.filename());
        }
    }
    void TearDown() override { fs::remove_all(folder_); }

    int Paint(const std::string& extra = "")
    {
        std::string command = std::string("\"") + VELMORA_SKINPAINTER + "\" \"" + folder_.string() + "\"" + extra;
        return std::system(command.c_str());
    }

    fs::path folder_;
};

} // namespace

TEST_F(PainterRun, RepaintsTheCommittedPicturesByteForByte)
{
    ASSERT_EQ(Paint(), 0);
    for (const TSkinAsset& asset : SkinAssets()) {
        std::vector<char> painted = Bytes(folder_ / asset.Name);
        ASSERT_FALSE(painted.empty()) << asset.Name << " was not painted";
        EXPECT_TRUE(painted == Bytes(AssetPath(asset.Name)))
            << asset.Name << " differs from the committed picture: repaint the skin";
    }
    for (const char* icon : {"icons/velmora-48.png", "icons/velmora-256.png"}) {
        std::vector<char> painted = Bytes(folder_ / icon);
        ASSERT_FALSE(painted.empty()) << icon << " was not painted";
        EXPECT_TRUE(painted == Bytes(AssetPath(icon))) << icon << " differs from the committed icon: repaint the skin";
    }
}

TEST_F(PainterRun, WritesTheContactSheet)
{
    fs::path sheet = folder_ / "sheet.png";
    ASSERT_EQ(Paint(" --contact-sheet \"" + sheet.string() + "\""), 0);
    std::vector<char> bytes = Bytes(sheet);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
}

TEST_F(PainterRun, RefusesMissingArgumentsAndUnknownOptions)
{
    EXPECT_NE(std::system((std::string("\"") + VELMORA_SKINPAINTER + "\" 2>/dev/null").c_str()), 0);
    EXPECT_NE(Paint(" --frobnicate x 2>/dev/null"), 0);
}
