#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/IniFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

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

    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read()
    {
        std::stringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    // Writes one key and returns the whole file.
    std::string After(const std::string& section, const std::string& key, const std::string& value)
    {
        TIniFile(path).WriteString(section, key, value);
        return Read();
    }
    void ExpectRefused(const std::string& what)
    {
        EXPECT_EQ(TIniFile(path).ReadString("Sound", "Mixrate", "dflt"), "dflt") << what;
        try {
            TIniFile(path).WriteString("Sound", "Mixrate", "1");
            ADD_FAILURE() << what << " was written";
        } catch (const EInvalidOperation& error) {
            EXPECT_EQ(std::string(error.what()), "Kann nicht nach " + path + " schreiben") << what;
        }
    }
    // Nothing but the settings file, and no half-written file beside it.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        return names;
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
    EXPECT_EQ(Read(), "[Sound]\nMixrate=22050\n16 Bit=1\n");
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

    Write("[Sound]");
    EXPECT_EQ(After("Sound", "Stereo", "0"), "[Sound]\nStereo=0\n");
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

    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ExpectRefused("a FIFO");
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

TEST_F(IniTest, AWriteThatCantCompleteLeavesTheOldFileWhole)
{
    const std::string before = "[Sound]\nMixrate=1\n" + std::string(3000, ';') + "\n";
    Write(before);

    // The new file can't grow past 1000 bytes.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1000;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(TIniFile(path).WriteString("Sound", "Mixrate", "2"), EInvalidOperation);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(Read(), before);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Sound.opt"});

    if (::geteuid() != 0) { // the superuser may write any file
        std::filesystem::permissions(path, std::filesystem::perms::owner_read);
        EXPECT_THROW(TIniFile(path).WriteString("Sound", "Mixrate", "2"), EInvalidOperation);
        EXPECT_EQ(Read(), before);
    }
}

TEST_F(IniTest, TheFileKeepsItsPermissionsAndItsLink)
{
    using std::filesystem::perms;
    const std::string real = (directory / "real.opt").string();
    std::ofstream(real) << "[Sound]\nMixrate=1\n";
    std::filesystem::permissions(real, perms::owner_read | perms::owner_write | perms::group_read);
    std::filesystem::create_symlink("real.opt", path);

    TIniFile(path).WriteString("Sound", "Mixrate", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(Read(), "[Sound]\nMixrate=2\n");
    EXPECT_EQ(std::filesystem::status(real).permissions(), perms::owner_read | perms::owner_write | perms::group_read);
}

TEST_F(IniTest, AWriteThroughADanglingLinkMakesItsFileAndKeepsTheLink)
{
    // Sound.opt -> settings/link.opt -> real.opt, which doesn't exist yet.
    std::filesystem::create_directory(directory / "settings");
    std::filesystem::create_symlink("real.opt", directory / "settings" / "link.opt");
    std::filesystem::create_symlink("settings/link.opt", path);

    TIniFile(path).WriteString("Sound", "Mixrate", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_TRUE(std::filesystem::is_symlink(directory / "settings" / "link.opt"));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(directory / "settings" / "real.opt")));
    EXPECT_EQ(Read(), "[Sound]\nMixrate=2\n");
    TIniFile(path).WriteString("Sound", "Stereo", "1");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(Read(), "[Sound]\nMixrate=2\nStereo=1\n");

    // A loop of links is no file to write.
    std::filesystem::remove(path);
    std::filesystem::create_symlink("Sound.opt", path);
    EXPECT_THROW(TIniFile(path).WriteString("Sound", "Mixrate", "3"), EInvalidOperation);
    EXPECT_TRUE(std::filesystem::is_symlink(path));
}

// A run as the superuser must not take a user's settings file from them.
TEST_F(IniTest, TheSuperusersWriteKeepsTheFilesOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser may give a file to someone else";
    constexpr uid_t user = 65534; // nobody
    constexpr gid_t group = 65534;
    Write("[Sound]\nMixrate=1\n");
    ASSERT_EQ(::chown(path.c_str(), user, group), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    TIniFile(path).WriteString("Sound", "Mixrate", "2");
    struct stat info { };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, user);
    EXPECT_EQ(info.st_gid, group);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Read(), "[Sound]\nMixrate=2\n");
}
