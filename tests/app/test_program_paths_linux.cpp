#include "app/ProgramPaths.h"
#include "tests/support/Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
    SetEnvironment("XDG_CONFIG_HOME", (scratch / "config").c_str());
    EXPECT_EQ(SettingsDirectoryFor("/nonexistent/velmora/"), (scratch / "config" / "velmora").string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "config" / "velmora"));

    SetEnvironment("XDG_CONFIG_HOME", "relative/config"); // not absolute: passed over
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(SettingsDirectoryFor("/nonexistent/velmora/"), std::string(home) + "/.config/velmora/");

    if (saved)
        SetEnvironment("XDG_CONFIG_HOME", previous.c_str());
    else
        ClearEnvironment("XDG_CONFIG_HOME");
    std::filesystem::remove_all(scratch);
}
