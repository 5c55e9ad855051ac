#include "IniTestSupport.h"

#include "tests/support/NewFileText.h"

using namespace std::string_literals;

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

TEST_F(IniTest, ReadsTheFirstKeyOfTheFirstSectionAndToleratesBlanks)
{
    Write("Mixrate=1\r\n" // before any section: in none
          "[ Sound ]\r\n"
          "Stereo\r\n"          // no '=': no key
          "; Filter Mode=2\r\n" // a comment
          "  16 bit  =  0  \r\n"
          "Quoted = \"a b\" \r\n"
          "Cut=12\0 34\r\n"s
          "Empty=\r\n"
          "16 Bit=1\r\n" // a second key of a name doesn't count
          "Long=" +
        std::string(2000, 'x') +
        "\r\n"
        "[SOUND]\r\n" // nor does a second section of a name
        "Mixrate=2\r\n");
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Sound", "Mixrate", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Sound", "Stereo", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Sound", "Filter Mode", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Sound", "16 Bit", "dflt"), "0");
    EXPECT_EQ(ini.ReadString("Sound", "Quoted", "dflt"), "a b");
    EXPECT_EQ(ini.ReadString("Sound", "Cut", "dflt"), "12");
    EXPECT_EQ(ini.ReadString("Sound", "Empty", "dflt"), "");
    EXPECT_EQ(ini.ReadString("Sound", "Long", "dflt"), std::string(1023, 'x'));
}

TEST_F(IniTest, WriteAddsFileSectionAndKeyWithoutBlanks)
{
    TIniFile ini(path);
    ini.WriteString("Sound", "Mixrate", "22050");
    ini.WriteString("Sound", "16 Bit", "1");
    // A new file takes the system's line ends.
    EXPECT_EQ(Read(), AsNewFile("[Sound]\nMixrate=22050\n16 Bit=1\n"));
}

TEST_F(IniTest, WriteReplacesOneKeyAndLeavesTheRestAlone)
{
    const std::string before = "\xEF\xBB\xBF; kept as it is\r\n"
                               "[Keep]\r\n"
                               "Mixrate = 1\r\n"
                               "[ sound ]  \r\n"
                               "a line without equals\r\n"
                               "; Mixrate=2\r\n"
                               "Other=\0binary\xFF\r\n"s
                               "\tmixRATE =  11025 ; old\r\n"
                               "Mixrate=3\r\n"
                               "\r\n"
                               "[Player]\n"
                               "Skin=gold";
    Write(before);
    std::string after = before;
    after.replace(after.find("\tmixRATE"), 23, "mixRATE=44100");
    EXPECT_EQ(After("SOUND", "Mixrate", "44100"), after);
}

TEST_F(IniTest, WriteAddsAKeyAfterTheLastLineOfItsSectionInTheFilesLineEnding)
{
    Write("[Sound]\r\nA=1\r\n; last\r\n\r\n[Other]\nB=2");
    EXPECT_EQ(After("Sound", "Stereo", "0"), "[Sound]\r\nA=1\r\n; last\r\nStereo=0\r\n\r\n[Other]\nB=2");
    EXPECT_EQ(After("other", "C", "3"), "[Sound]\r\nA=1\r\n; last\r\nStereo=0\r\n\r\n[Other]\nB=2\r\nC=3\r\n");

    // A file with no line end yet takes the system's.
    Write("[Sound]");
    EXPECT_EQ(After("Sound", "Stereo", "0"), AsNewFile("[Sound]\nStereo=0\n"));
}

TEST_F(IniTest, WriteAddsAMissingSectionAtTheEnd)
{
    Write("x\0y\r\n[Other]\r\nB=2"s);
    EXPECT_EQ(After("Sound", "Mixrate", "1"), "x\0y\r\n[Other]\r\nB=2\r\n[Sound]\r\nMixrate=1\r\n"s);
    Write("\n\n");
    EXPECT_EQ(After("Sound", "Mixrate", "1"), "\n\n[Sound]\nMixrate=1\n");
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

TEST_F(IniTest, WhatIsNoSettingsFileIsNeitherReadNorReplaced)
{
    std::filesystem::create_directory(path);
    ExpectRefused("a directory");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    std::filesystem::remove(path);

    // The bound itself is still read; one byte more and the file is left alone.
    const std::string start = "[Sound]\nMixrate=7\n";
    Write(start);
    std::filesystem::resize_file(path, TIniFile::MaxFileSize);
    EXPECT_EQ(TIniFile(path).ReadString("Sound", "Mixrate", "dflt"), "7");
    std::filesystem::resize_file(path, TIniFile::MaxFileSize + 1);
    ExpectRefused("a huge file");
    EXPECT_EQ(std::filesystem::file_size(path), TIniFile::MaxFileSize + 1);
    EXPECT_EQ(Read().substr(0, start.size()), start);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Sound.opt"});
}
