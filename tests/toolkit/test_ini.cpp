#include "toolkit/Exceptions.h"
#include "toolkit/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = std::filesystem::temp_directory_path() /
                    ("velmora-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        path = (directory / "Sound.opt").string();
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    void Write(const std::string& text) { std::ofstream(path) << text; }
    std::string Read()
    {
        std::stringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    std::filesystem::path directory;
    std::string path;
};

} // namespace

TEST_F(IniTest, MissingFileSectionOrKeyGivesTheFallback)
{
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Sound", "Mixrate", "dflt"), "dflt");
    Write("[Other]\nMixrate=1\n");
    EXPECT_EQ(ini.ReadString("Sound", "Mixrate", "dflt"), "dflt");
    Write("[Sound]\nStereo=1\n");
    EXPECT_EQ(ini.ReadString("Sound", "Mixrate", "dflt"), "dflt");
}

TEST_F(IniTest, NamesMatchWithoutRegardToCase)
{
    Write("[sOUND]\nmixRATE=44100\n");
    EXPECT_EQ(TIniFile(path).ReadString("Sound", "Mixrate", ""), "44100");
}

TEST_F(IniTest, WriteAddsFileSectionAndKeyWithoutBlanks)
{
    TIniFile ini(path);
    ini.WriteString("Sound", "Mixrate", "22050");
    ini.WriteString("Sound", "16 Bit", "1");
    EXPECT_EQ(Read(), "[Sound]\nMixrate=22050\n16 Bit=1\n");
}

TEST_F(IniTest, WriteReplacesOneKeyAndLeavesTheRestAlone)
{
    Write("[Sound]\nMixrate=11025\nStereo=0\n\n[Player]\nSkin=gold\n");
    TIniFile(path).WriteString("sound", "MIXRATE", "44100");
    std::string text = Read();
    EXPECT_NE(text.find("Mixrate=44100"), std::string::npos) << text;
    EXPECT_NE(text.find("Stereo=0"), std::string::npos) << text;
    EXPECT_NE(text.find("[Player]\nSkin=gold"), std::string::npos) << text;
    EXPECT_EQ(text.find("11025"), std::string::npos) << text;
}

TEST_F(IniTest, FailedWriteNamesTheFile)
{
    std::string unwritable = (directory / "missing-dir" / "Sound.opt").string();
    try {
        TIniFile(unwritable).WriteString("Sound", "Mixrate", "1");
        FAIL();
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(std::string(error.what()), "Kann nicht nach " + unwritable + " schreiben");
    }
}
