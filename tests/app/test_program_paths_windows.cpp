#include "app/ProgramPaths.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>

#include <filesystem>

// The settings stay beside a disc unpacked where the user may write; one
// installed where they may not keeps them in the user's application data.
TEST(ProgramPaths, SettingsLiveBesideAWritableProgramElseInTheUsersApplicationData)
{
    TempFolder disc;
    EXPECT_EQ(SettingsDirectoryFor(disc.Dir()), disc.Dir());
    EXPECT_TRUE(std::filesystem::is_empty(disc.Dir())) << "the probe leaves nothing behind";

    const std::string elsewhere = SettingsDirectoryFor("Z:\\nonexistent\\velmora\\");
    EXPECT_THAT(elsewhere, ::testing::EndsWith("\\Velmora\\"));
    EXPECT_TRUE(std::filesystem::is_directory(elsewhere));
}
