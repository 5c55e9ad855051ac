#include "app/ProgramPaths.h"

#include <gtest/gtest.h>


TEST(ProgramPaths, DirectoryOfKeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ(DirectoryOf("/usr/lib/velmora/velmora"), "/usr/lib/velmora/");
    EXPECT_EQ(DirectoryOf("C:\\Disc\\velmora.exe"), "C:\\Disc\\");
    EXPECT_EQ(DirectoryOf("velmora"), "");
}
