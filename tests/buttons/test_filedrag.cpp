#include "ButtonsTestSupport.h"

#include "controls/filedrag.h"

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

class FileDragTest : public THeadlessWindowTest {
protected:
    void SetUp() override
    {
        THeadlessWindowTest::SetUp();
        drag = TComponent::Create<TFileDrag>(form);
        drag->OnDrop = [this](TObject* sender) {
            EXPECT_EQ(sender, drag);
            ++drops;
        };
    }

    TFileDrag* drag = nullptr;
    int drops = 0;
};

} // namespace

TEST_F(FileDragTest, StartsEmptyAndNotAccepting)
{
    EXPECT_FALSE(drag->EnableDrop());
    EXPECT_FALSE(form->AcceptsDrops());
    EXPECT_EQ(drag->FileCount(), 0);
    EXPECT_EQ(drag->NameWithPath().Count(), 0);
    EXPECT_EQ(drag->NameOnly().Count(), 0);
    EXPECT_EQ(drag->Extension().Count(), 0);
}

TEST_F(FileDragTest, EveryAssignmentRegistersTheOwnerWindow)
{
    drag->SetEnableDrop(true);
    EXPECT_TRUE(drag->EnableDrop());
    EXPECT_TRUE(form->AcceptsDrops());
    // Someone else switched the window off; assigning the same value again
    // registers it again.
    form->SetAcceptsDrops(false);
    drag->SetEnableDrop(true);
    EXPECT_TRUE(form->AcceptsDrops());
    drag->SetEnableDrop(false);
    EXPECT_FALSE(form->AcceptsDrops());
}

TEST_F(FileDragTest, ThreeFilesInOneDropFillTheListsInOrder)
{
    drag->SetEnableDrop(true);
    form->DispatchDropFiles({"/home/vyr/mods/first.xm", "/home/vyr/mods/second.s3m", "/tmp/third.MOD"});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(drag->FileCount(), 3);
    EXPECT_EQ(drag->NameWithPath().Items(),
        (Paths{"/home/vyr/mods/first.xm", "/home/vyr/mods/second.s3m", "/tmp/third.MOD"}));
    EXPECT_EQ(drag->NameOnly().Items(), (Paths{"first.xm", "second.s3m", "third.MOD"}));
    EXPECT_EQ(drag->Extension().Items(), (Paths{"xm", "s3m", "MOD"}));
}

TEST_F(FileDragTest, ASecondDropReplacesTheFirst)
{
    drag->SetEnableDrop(true);
    form->DispatchDropFiles({"/a/one.xm", "/a/two.xm"});
    form->DispatchDropFiles({"/b/three.mod"});
    EXPECT_EQ(drops, 2);
    EXPECT_EQ(drag->FileCount(), 1);
    EXPECT_EQ(drag->NameWithPath().Items(), (Paths{"/b/three.mod"}));
    EXPECT_EQ(drag->NameOnly().Items(), (Paths{"three.mod"}));
    EXPECT_EQ(drag->Extension().Items(), (Paths{"mod"}));
}

TEST_F(FileDragTest, ADropOfNoFilesStillRaisesOnDrop)
{
    drag->SetEnableDrop(true);
    form->DispatchDropFiles({"/a/one.xm"});
    form->DispatchDropFiles({});
    EXPECT_EQ(drops, 2);
    EXPECT_EQ(drag->FileCount(), 0);
    EXPECT_EQ(drag->NameWithPath().Count(), 0);
    EXPECT_EQ(drag->NameOnly().Count(), 0);
    EXPECT_EQ(drag->Extension().Count(), 0);
}

TEST_F(FileDragTest, PathsLongerThanTheFirstBufferAreReadWhole)
{
    drag->SetEnableDrop(true);
    std::string directory = "/" + std::string(150, 'd');
    std::string longer = directory + "/" + std::string(300, 'n') + ".it";
    form->DispatchDropFiles({directory + "/song.xm", "/s.mod", longer});
    ASSERT_EQ(drag->FileCount(), 3);
    EXPECT_EQ(drag->NameWithPath()[0], directory + "/song.xm");
    EXPECT_EQ(drag->NameWithPath()[1], "/s.mod");
    EXPECT_EQ(drag->NameWithPath()[2], longer);
    EXPECT_EQ(drag->NameOnly()[2], std::string(300, 'n') + ".it");
    EXPECT_EQ(drag->Extension()[2], "it");
}

TEST_F(FileDragTest, SplitsAtTheLastSeparatorAndTheFileNamesFirstDot)
{
    drag->SetEnableDrop(true);
    form->DispatchDropFiles(
        {"/a.b/file.tar.gz", "/mods/song.final.xm", "/Mods/Track.XM", "/a.b/README", "plain.xm", "bare", "/dir/"});
    EXPECT_EQ(drag->NameOnly().Items(),
        (Paths{"file.tar.gz", "song.final.xm", "Track.XM", "README", "plain.xm", "bare", ""}));
    // No dot: no extension; dots of directories are never seen.
    EXPECT_EQ(drag->Extension().Items(), (Paths{"tar.gz", "final.xm", "XM", "", "xm", "", ""}));
}

TEST_F(FileDragTest, WithDroppingOffTheWindowTakesNoFiles)
{
    form->DispatchDropFiles({"/a/one.xm"});
    EXPECT_EQ(drops, 0);
    drag->SetEnableDrop(true);
    drag->SetEnableDrop(false);
    form->DispatchDropFiles({"/a/one.xm"});
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(drag->FileCount(), 0);
}

TEST_F(FileDragTest, TakesDropsAheadOfTheWindowAndGivesThemBackWhenDestroyed)
{
    drag->Free();
    Paths windowGot;
    form->SetDropHandler([&](const Paths& paths) { windowGot = paths; });
    drag = TComponent::Create<TFileDrag>(form);
    drag->OnDrop = [&](TObject*) { ++drops; };
    drag->SetEnableDrop(true);
    form->DispatchDropFiles({"/a/one.xm"});
    EXPECT_EQ(drops, 1);
    EXPECT_TRUE(windowGot.empty());

    drag->Free();
    EXPECT_FALSE(form->AcceptsDrops());
    form->SetAcceptsDrops(true);
    form->DispatchDropFiles({"/a/two.xm"});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(windowGot, (Paths{"/a/two.xm"}));
}

TEST_F(FileDragTest, AnOwnerThatIsNoWindowLeavesDroppingOff)
{
    auto* loose = TComponent::Create<TFileDrag>(&Application());
    loose->SetEnableDrop(true);
    EXPECT_FALSE(form->AcceptsDrops());
    loose->Free();
}
