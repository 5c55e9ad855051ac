// File URIs as file managers and media controls hand them over.

#include "desktop/FileUri.h"

#include <gtest/gtest.h>

TEST(FileUri, PathsGoThereAndBackWhateverTheyHold)
{
    for (const std::string path : {"/music/song1.xm", "/home/me/my tune (1).xm", "/tmp/50%/ü.s3m", "/a/#?b.mod"}) {
        const std::string uri = FileUriOf(path);
        EXPECT_EQ(uri.rfind("file:///", 0), 0u) << uri;
        EXPECT_EQ(uri.find_first_of(" #?()ü"), std::string::npos) << uri;
        EXPECT_EQ(PathOfFileUri(uri), path) << uri;
    }
    EXPECT_EQ(FileUriOf("/home/me/my tune.xm"), "file:///home/me/my%20tune.xm");
}

TEST(FileUri, OnlyLocalFilesAreTaken)
{
    EXPECT_EQ(PathOfFileUri("file://localhost/music/a.xm"), "/music/a.xm");
    EXPECT_EQ(PathOfFileUri("FILE:///music/a.xm"), "/music/a.xm");
    for (const std::string uri :
        {"http://example.org/a.xm", "file://otherhost/a.xm", "file:a.xm", "file://", "/music/a.xm", "file:///a%2",
            "file:///a%zz.xm", "file:///a%00b.xm", "file:///a.xm?x=1", "file:///a.xm#part"})
        EXPECT_EQ(PathOfFileUri(uri), std::nullopt) << uri;
}
