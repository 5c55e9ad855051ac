// Sound.opt: reading with defaults and the integer conversion, and writing
// the four keys.

#include "SoundTestSupport.h"

#include "sound/SoundSettings.h"
#include "toolkit/graphics/Exceptions.h"

#include <gmock/gmock.h>

namespace soundtest {
namespace {

using ::testing::ElementsAre;
using namespace std::string_literals;

struct Conversion {
    const char* text;
    std::int32_t expected;
};

void PrintTo(const Conversion& c, std::ostream* out)
{
    *out << '"' << c.text << '"';
}

constexpr std::int32_t fallback = -77;

class IntegerConversion : public ::testing::TestWithParam<Conversion> { };

TEST_P(IntegerConversion, GivesTheValueOrTheFallback)
{
    EXPECT_EQ(ConvertSettingInteger(GetParam().text, fallback), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Decimal, IntegerConversion,
    ::testing::Values(Conversion{"22050", 22050}, Conversion{"0", 0}, Conversion{"+42", 42}, Conversion{"-42", -42},
        Conversion{"   7", 7}, Conversion{"007", 7}, Conversion{"2147483647", 2147483647},
        Conversion{"-2147483648", -2147483647 - 1}, Conversion{"2147483648", fallback},
        Conversion{"-2147483649", fallback}, Conversion{"99999999999", fallback}, Conversion{"", fallback},
        Conversion{"   ", fallback}, Conversion{"fast", fallback}, Conversion{"12 ", fallback},
        Conversion{"12a", fallback}, Conversion{"1.5", fallback}, Conversion{"+", fallback}, Conversion{"-", fallback},
        Conversion{"+-3", fallback}, Conversion{"--3", fallback}, Conversion{"- 3", fallback},
        Conversion{"\t3", fallback}));

INSTANTIATE_TEST_SUITE_P(Hexadecimal, IntegerConversion,
    ::testing::Values(Conversion{"$5622", 22050}, Conversion{"0x5622", 22050}, Conversion{"0X5622", 22050},
        Conversion{"$abCD", 0xABCD}, Conversion{"  $10", 16}, Conversion{"$FFFFFFFF", -1}, Conversion{"0xffffffff", -1},
        Conversion{"$80000000", -2147483647 - 1}, Conversion{"$000000010", 16}, Conversion{"$100000000", fallback},
        Conversion{"$", fallback}, Conversion{"0x", fallback}, Conversion{"0X", fallback}, Conversion{"$-1", fallback},
        Conversion{"-$1", fallback}, Conversion{"$12g", fallback}, Conversion{"$ 12", fallback},
        Conversion{"0x0x1", fallback}, Conversion{" 0x10", fallback}, Conversion{"0x+5", fallback}));

class SettingsFile : public ::testing::Test {
protected:
    TSoundSettings ReadWith(const std::string& text)
    {
        WriteText(folder_.Path("Sound.opt"), text);
        return file_.Read();
    }

    TempFolder folder_;
    TSoundSettingsFile file_{folder_.Dir()};
};

TEST_F(SettingsFile, LivesInTheProgramDirectory)
{
    EXPECT_EQ(file_.Path(), folder_.Dir() + "Sound.opt");
    EXPECT_EQ(TSoundSettingsFile("").Path(), "Sound.opt");
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaults)
{
    const TSoundSettings settings = file_.Read();
    EXPECT_EQ(settings.MixRate, 22050);
    EXPECT_TRUE(settings.Stereo);
    EXPECT_TRUE(settings.Bits16);
    EXPECT_EQ(settings.FilterMode, 1);
}

TEST_F(SettingsFile, AMissingSectionOrKeyGivesThatDefault)
{
    TSoundSettings settings = ReadWith("[Other]\nMixrate=11025\nStereo=0\n");
    EXPECT_EQ(settings.MixRate, 22050);
    EXPECT_TRUE(settings.Stereo);

    settings = ReadWith("[Sound]\nStereo=0\n");
    EXPECT_EQ(settings.MixRate, 22050);
    EXPECT_FALSE(settings.Stereo);
    EXPECT_TRUE(settings.Bits16);
    EXPECT_EQ(settings.FilterMode, 1);
}

TEST_F(SettingsFile, ReadsEveryKey)
{
    const TSoundSettings settings = ReadWith("[Sound]\nMixrate=44100\nStereo=0\n16 Bit=0\nFilter Mode=2\n");
    EXPECT_EQ(settings.MixRate, 44100);
    EXPECT_FALSE(settings.Stereo);
    EXPECT_FALSE(settings.Bits16);
    EXPECT_EQ(settings.FilterMode, 2);
}

TEST_F(SettingsFile, NamesMatchWithoutRegardToCase)
{
    const TSoundSettings settings = ReadWith("[sOUND]\nMIXRATE=11025\nstereo=0\n16 BIT=0\nfilter mode=0\n");
    EXPECT_EQ(settings.MixRate, 11025);
    EXPECT_FALSE(settings.Stereo);
    EXPECT_FALSE(settings.Bits16);
    EXPECT_EQ(settings.FilterMode, 0);
}

TEST_F(SettingsFile, MixRatesInHexadecimal)
{
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=0x2B11\n").MixRate, 11025);
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=$AC44\n").MixRate, 44100);
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=0x5622\n").MixRate, 22050);
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=$5622\n").MixRate, 22050);
}

TEST_F(SettingsFile, MixRatesThatDontConvertGiveTheDefault)
{
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=fast\n").MixRate, 22050);
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=0x\n").MixRate, 22050);
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=\n").MixRate, 22050);
}

TEST_F(SettingsFile, BooleansAreTrueWhenNonzero)
{
    EXPECT_TRUE(ReadWith("[Sound]\nStereo=2\n").Stereo);
    EXPECT_TRUE(ReadWith("[Sound]\nStereo=-1\n").Stereo);
    EXPECT_TRUE(ReadWith("[Sound]\nStereo=no\n").Stereo);
    EXPECT_FALSE(ReadWith("[Sound]\nStereo=0\n").Stereo);
    EXPECT_FALSE(ReadWith("[Sound]\nStereo=$0\n").Stereo);
    EXPECT_TRUE(ReadWith("[Sound]\n16 Bit=off\n").Bits16);
    EXPECT_FALSE(ReadWith("[Sound]\n16 Bit=0\n").Bits16);
}

TEST_F(SettingsFile, FilterModeKeepsTheLowByte)
{
    EXPECT_EQ(ReadWith("[Sound]\nFilter Mode=258\n").FilterMode, 2);
    EXPECT_EQ(ReadWith("[Sound]\nFilter Mode=-1\n").FilterMode, 255);
    EXPECT_EQ(ReadWith("[Sound]\nFilter Mode=$1FF\n").FilterMode, 255);
    EXPECT_EQ(ReadWith("[Sound]\nFilter Mode=more\n").FilterMode, 1);
}

TEST_F(SettingsFile, WritesTheFourKeysAndTheVolumeInOrder)
{
    file_.Write(TSoundSettings{-5, false, true, 255, 35});
    EXPECT_THAT(Lines(file_.Path()),
        ElementsAre("[Sound]", "Mixrate=-5", "Stereo=0", "16 Bit=1", "Filter Mode=255", "Volume=35"));
    const TSoundSettings back = file_.Read();
    EXPECT_EQ(back.MixRate, -5);
    EXPECT_FALSE(back.Stereo);
    EXPECT_TRUE(back.Bits16);
    EXPECT_EQ(back.FilterMode, 255);
    EXPECT_EQ(back.Volume, 35);
}

TEST_F(SettingsFile, VolumeIsAPercentageThatDefaultsToFull)
{
    EXPECT_EQ(ReadWith("[Sound]\nMixrate=11025\n").Volume, 100);
    EXPECT_EQ(ReadWith("[Sound]\nVolume=0\n").Volume, 0);
    EXPECT_EQ(ReadWith("[Sound]\nVolume=250\n").Volume, 100);
    EXPECT_EQ(ReadWith("[Sound]\nVolume=-3\n").Volume, 0);
    EXPECT_EQ(ReadWith("[Sound]\nVolume=loud\n").Volume, 100);
}

TEST_F(SettingsFile, WritingLeavesOtherSectionsAndKeysAlone)
{
    WriteText(file_.Path(), "[Before]\nA=1\n\n[sound]\nvolume=9\nMIXRATE=11025\n\n[After]\nB=2\n");
    file_.Write(TSoundSettings{44100, true, false, 0});
    EXPECT_THAT(Lines(file_.Path()),
        ElementsAre("[Before]", "A=1", "[sound]", "volume=100", "MIXRATE=44100", "Stereo=1", "16 Bit=0",
            "Filter Mode=0", "[After]", "B=2"));
}

TEST_F(SettingsFile, WritingChangesOnlyTheLinesOfItsKeys)
{
    WriteText(
        file_.Path(), "; Velmora\r\n[Sound]\r\nMixrate = 11025\r\n16 bit=0\r\nVolume\r\n\r\n[Keep]\r\nA=\0b\r\n"s);
    file_.Write(TSoundSettings{44100, false, true, 2});
    EXPECT_EQ(ReadText(file_.Path()),
        "; Velmora\r\n[Sound]\r\nMixrate=44100\r\n16 bit=1\r\nVolume\r\nStereo=0\r\n"
        "Filter Mode=2\r\nVolume=100\r\n\r\n[Keep]\r\nA=\0b\r\n"s);
}

TEST_F(SettingsFile, AHugeFileGivesTheDefaultsAndIsLeftAsItIs)
{
    WriteText(file_.Path(), "[Sound]\nMixrate=11025\n");
    constexpr std::uintmax_t size = 50 * 1024 * 1024;
    std::filesystem::resize_file(file_.Path(), size);
    EXPECT_EQ(file_.Read().MixRate, 22050);
    EXPECT_THROW(file_.Write(TSoundSettings{}), EInvalidOperation);
    EXPECT_EQ(std::filesystem::file_size(file_.Path()), size);
    EXPECT_EQ(ReadText(file_.Path()).substr(0, 22), "[Sound]\nMixrate=11025\n");
}

TEST_F(SettingsFile, AFileThatCantBeWrittenIsReportedWithItsPath)
{
    const TSoundSettingsFile nowhere(folder_.Path("missing") + "/");
    try {
        nowhere.Write(TSoundSettings{});
        FAIL() << "the write went through";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(std::string(error.what()), "Kann nicht nach " + folder_.Path("missing") + "/Sound.opt schreiben");
    }

    // A directory where the file should be.
    std::filesystem::create_directory(file_.Path());
    EXPECT_THROW(file_.Write(TSoundSettings{}), EInvalidOperation);
}

} // namespace
} // namespace soundtest
