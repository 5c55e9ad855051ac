#include "app/ProgramPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(ProgramPaths, DirectoryOfKeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ(DirectoryOf("/usr/lib/velmora/velmora"), "/usr/lib/velmora/");
    EXPECT_EQ(DirectoryOf("C:\\Disc\\velmora.exe"), "C:\\Disc\\");
    EXPECT_EQ(DirectoryOf("velmora"), "");
}

// The settings stay beside a program the user may write to; an installed
// program keeps them in the user's configuration directory instead.
TEST(ProgramPaths, SettingsLiveBesideAWritableProgramElseInTheUsersConfiguration)
{
    const auto scratch = std::filesystem::temp_directory_path() / "velmora-paths";
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch / "disc");
    const std::string disc = (scratch / "disc").string() + "/";
    EXPECT_EQ(SettingsDirectoryFor(disc), disc);

    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    EXPECT_EQ(SettingsDirectoryFor("/nonexistent/velmora/"), (scratch / "config" / "velmora").string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "config" / "velmora"));

    setenv("XDG_CONFIG_HOME", "relative/config", 1); // not absolute: passed over
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(SettingsDirectoryFor("/nonexistent/velmora/"), std::string(home) + "/.config/velmora/");

    if (saved)
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(scratch);
}
