// What only a POSIX file system has: FIFOs, size limits, permissions,
// links and owners.

#include "IniTestSupport.h"

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

TEST_F(IniTest, AFifoIsNeitherReadNorReplaced)
{
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ExpectRefused("a FIFO");
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
