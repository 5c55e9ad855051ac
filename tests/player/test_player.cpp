// The player as every way in meets it: what each command does to what is
// loaded and to the state, what the listeners are told and when, and the
// volume that Sound.opt keeps.

#include "player/Player.h"
#include "tests/support/NewFileText.h"
#include "tests/support/TempFolder.h"
#include "tools/modwriter/ModuleWriter.h"
#include "toolkit/windowing/Component.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> TitledModule(const std::string& title, const std::string& lastInstrument)
{
    modwriter::Module module;
    module.name = title;
    module.channels = 4;
    module.initialSpeed = 31;
    module.initialTempo = 32;
    module.orders = {0, 0, 0};
    modwriter::Pattern pattern(16, 4);
    pattern.At(0, 0, 4) = modwriter::Cell{modwriter::Note(4, 0), 1, 0, 0, 0};
    module.patterns.push_back(pattern);
    for (const std::string& name : {std::string("lead"), lastInstrument}) {
        modwriter::Instrument instrument;
        instrument.name = name;
        instrument.sample.data.assign(64, 8000);
        instrument.sample.loopLength = 64;
        module.instruments.push_back(instrument);
    }
    return modwriter::WriteXM(module);
}

// Keeps what the player tells, as text, and the player's state at the time.
class Recorder : public TPlayerListener {
public:
    void TrackChanged(const TTrack& track) override
    {
        heard.push_back(track.Kind == TTrack::TKind::None ? "track none"
                : track.Kind == TTrack::TKind::Song     ? "track song " + std::to_string(track.Song)
                                                        : "track file " + track.Title);
    }
    void StateChanged(TPlaybackState state) override
    {
        heard.push_back(state == TPlaybackState::Playing ? "playing"
                : state == TPlaybackState::Paused        ? "paused"
                                                         : "stopped");
    }
    void VolumeChanged(int volume) override { heard.push_back("volume " + std::to_string(volume)); }
    void Seeked(std::uint32_t) override { heard.push_back("seeked"); }
    void Failed(const std::string& message, bool) override
    {
        heard.push_back("failed");
        failures.push_back(message);
    }
    std::vector<std::string> Take() { return std::exchange(heard, {}); }

    std::vector<std::string> heard;
    std::vector<std::string> failures;
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int song = 1; song <= TPlayer::SongCount; ++song)
            folder_.Write("song" + std::to_string(song) + ".xm",
                TitledModule("Song number " + std::to_string(song), "Vilmar Yrndahl (VYR)"));
        Make();
    }
    void Make()
    {
        player_ = TComponent::Create<TPlayer>(&owner_, folder_.Dir(), folder_.Dir());
        recorder_ = std::make_unique<Recorder>();
        player_->AddListener(*recorder_);
        player_->Start();
    }
    void End()
    {
        player_->Free();
        player_ = nullptr;
    }
    void TearDown() override
    {
        if (player_)
            End();
    }

    TempFolder folder_;
    TComponent owner_{nullptr};
    TPlayer* player_ = nullptr;
    std::unique_ptr<Recorder> recorder_;
};

TEST_F(PlayerTest, AChosenSongIsTheTrackAtOnceAndItsModuleTellsTheRest)
{
    player_->PlaySong(3);
    const TTrack& track = player_->Track();
    EXPECT_TRUE(track.IsSong(3));
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);
    EXPECT_EQ(track.LastOrder, -1) << "not read yet";
    EXPECT_EQ(recorder_->Take(), (std::vector<std::string>{"track song 3", "playing"}));
    player_->Settle();
    EXPECT_EQ(track.Title, "Song number 3");
    EXPECT_EQ(track.Composer, "Vilmar Yrndahl (VYR)");
    EXPECT_EQ(track.LastOrder, 2);
    EXPECT_GT(track.LengthMs, 0u);
    EXPECT_EQ(recorder_->Take(), (std::vector<std::string>{"track song 3"}));

    // A file of the user's names no composer; without a title, its file
    // name stands for one.
    player_->PlayFile(folder_.Write("untitled tune.xm", TitledModule("", "voice")));
    player_->Settle();
    EXPECT_EQ(player_->Track().Title, "untitled tune.xm");
    EXPECT_EQ(player_->Track().Composer, "");
    EXPECT_EQ(player_->Track().LastOrder, 2);
}

TEST_F(PlayerTest, PauseHoldsThePlaceAndResumeGoesOnFromIt)
{
    player_->PlaySong(1);
    player_->SeekToOrder(2);
    EXPECT_EQ(player_->Position(), 2) << "the order asked for, until the jump is heard";
    player_->Pause();
    EXPECT_EQ(player_->State(), TPlaybackState::Paused);
    player_->Settle();
    const std::uint32_t time = player_->PlayTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(player_->Position(), 2);
    EXPECT_LE(player_->PlayTime(), time + 10) << "the place holds";
    player_->Pause(); // paused already: nothing
    player_->Resume();
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);
    EXPECT_EQ(player_->Position(), 2);
    EXPECT_TRUE(player_->Track().IsSong(1)) << "the same track goes on";
    EXPECT_EQ(recorder_->Take(),
        (std::vector<std::string>{"track song 1", "playing", "paused", "track song 1", "seeked", "playing"}));
}

TEST_F(PlayerTest, PlayPauseStopAndPlayAgain)
{
    player_->PlayPause();
    EXPECT_TRUE(player_->Track().IsSong(1)) << "with nothing played yet, the first song";
    player_->PlayPause();
    EXPECT_EQ(player_->State(), TPlaybackState::Paused);
    player_->Play();
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);

    player_->PlaySong(4);
    player_->Stop();
    EXPECT_EQ(player_->State(), TPlaybackState::Stopped);
    EXPECT_EQ(player_->Position(), -1);
    EXPECT_TRUE(player_->Track().IsSong(4)) << "the track stays, to play again";
    player_->Play();
    EXPECT_TRUE(player_->Track().IsSong(4));
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);
    EXPECT_EQ(player_->Position(), 0) << "from its start";

    const std::string tune = folder_.Write("tune.xm", TitledModule("Tune", "voice"));
    player_->PlayFile(tune);
    player_->Stop();
    player_->Play();
    EXPECT_EQ(player_->Track().Path, tune);
}

TEST_F(PlayerTest, NextAndPreviousStepThroughTheSongsAndWrapAround)
{
    std::vector<int> songs;
    player_->Next();
    songs.push_back(player_->Track().Song);
    for (int step = 0; step < 5; ++step) {
        player_->Next();
        songs.push_back(player_->Track().Song);
    }
    player_->Previous();
    songs.push_back(player_->Track().Song);
    player_->Previous();
    songs.push_back(player_->Track().Song);
    EXPECT_THAT(songs, ElementsAre(1, 2, 3, 4, 5, 1, 5, 4));

    player_->PlayFile(folder_.Write("tune.xm", TitledModule("Tune", "voice")));
    player_->Next();
    EXPECT_TRUE(player_->Track().IsSong(1)) << "after a file of the user's, the first song";
    player_->PlayFile(folder_.Path("tune.xm"));
    player_->Previous();
    EXPECT_TRUE(player_->Track().IsSong(5));
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);
}

TEST_F(PlayerTest, AFileThatIsNoModuleLeavesWhatPlaysPlayingAndIsTold)
{
    player_->PlaySong(2);
    player_->Settle();
    const std::uint64_t serial = player_->Track().Serial;
    recorder_->Take();
    player_->PlayFile(folder_.WriteText("notes.txt", "no tune\n"));
    player_->Settle();
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);
    EXPECT_TRUE(player_->Track().IsSong(2));
    EXPECT_EQ(player_->Track().Serial, serial) << "still the same track, not song 2 again";
    EXPECT_EQ(player_->Track().Title, "Song number 2");
    EXPECT_EQ(recorder_->Take(),
        (std::vector<std::string>{"track file notes.txt", "playing", "track song 2", "playing", "failed"}));
    ASSERT_EQ(recorder_->failures.size(), 1u);
    EXPECT_THAT(recorder_->failures[0], ::testing::HasSubstr("notes.txt"));

    player_->Pause();
    player_->PlayFile(folder_.WriteText("empty.xm", ""));
    player_->Settle();
    EXPECT_EQ(player_->State(), TPlaybackState::Paused) << "paused, it stays paused";
    player_->Resume();
    player_->PlayFile(folder_.WriteText("empty.xm", ""));
    player_->Pause();
    player_->Settle();
    EXPECT_EQ(player_->State(), TPlaybackState::Paused) << "paused while the choice was read, it stays paused";
}

// New settings restart the engine, which loads the file again: one that
// went away meanwhile leaves nothing loaded, and whoever lit a button for
// it hears so.
TEST_F(PlayerTest, AFailedReloadAfterNewSettingsLeavesNothingLoaded)
{
    const std::string tune = folder_.Write("tune.xm", TitledModule("Tune", "voice"));
    player_->PlayFile(tune);
    player_->SeekToOrder(1);
    player_->Pause();
    player_->Settle();
    const std::uint32_t heardMs = player_->PlayTime();
    TSoundSettings settings = player_->Settings();
    settings.MixRate = 44100;
    player_->ApplySettings(settings);
    player_->Settle();
    EXPECT_EQ(player_->State(), TPlaybackState::Paused) << "paused, it stays paused";
    EXPECT_NEAR(player_->PlayTime(), heardMs, 50) << "it goes on from the time heard";
    recorder_->Take();

    std::filesystem::remove(tune);
    player_->ApplySettings(player_->Settings());
    player_->Settle();
    EXPECT_EQ(player_->State(), TPlaybackState::Stopped);
    EXPECT_EQ(player_->Track().Kind, TTrack::TKind::None);
    EXPECT_EQ(recorder_->Take(), (std::vector<std::string>{"track none", "stopped", "failed"}));
}

TEST_F(PlayerTest, VolumeIsKeptInSoundOptAndMuteComesBackToIt)
{
    player_->SetVolume(40);
    player_->ChangeVolume(-TPlayer::VolumeStep);
    player_->ChangeVolume(200);
    player_->ChangeVolume(200); // full already: nothing
    player_->SetVolume(35);
    player_->ToggleMute();
    EXPECT_EQ(player_->Volume(), 0);
    player_->ToggleMute();
    EXPECT_EQ(player_->Volume(), 35);
    EXPECT_EQ(recorder_->Take(),
        (std::vector<std::string>{"volume 40", "volume 35", "volume 100", "volume 35", "volume 0", "volume 35"}));

    End();
    EXPECT_THAT(ReadText(folder_.Path("Sound.opt")), ::testing::HasSubstr(AsNewFile("Volume=35\n")));
    Make();
    EXPECT_EQ(player_->Volume(), 35);
}

// Sound.opt is read as the player is made and written as it goes: values
// as they were taken, the settings changed meanwhile, other lines alone.
TEST_F(PlayerTest, SettingsComeFromSoundOptAndGoBackToItAtTheEnd)
{
    End();
    EXPECT_THAT(ReadText(folder_.Path("Sound.opt")),
        ::testing::HasSubstr(AsNewFile("Mixrate=22050\nStereo=1\n16 Bit=1\nFilter Mode=1\nVolume=100\n")))
        << "without a file, the defaults";

    WriteText(folder_.Path("Sound.opt"),
        "; kept\n[Sound]\nMixrate=0x3039\nStereo=2\n16 Bit=no\nFilter Mode=258\n[Window]\nLeft=10\n");
    Make();
    const TSoundSettings read = player_->Settings();
    EXPECT_EQ(read.MixRate, 12345) << "an odd rate goes to the engine as it is";
    EXPECT_TRUE(read.Stereo);
    EXPECT_EQ(read.FilterMode, 2);
    End();
    EXPECT_EQ(ReadText(folder_.Path("Sound.opt")),
        "; kept\n[Sound]\nMixrate=12345\nStereo=1\n16 Bit=1\nFilter Mode=2\nVolume=100\n[Window]\nLeft=10\n");

    Make();
    player_->ApplySettings({44100, false, false, 0, 100});
    player_->Settle();
    EXPECT_THAT(ReadText(folder_.Path("Sound.opt")), ::testing::HasSubstr("Mixrate=12345")) << "only at the end";
    End();
    EXPECT_THAT(ReadText(folder_.Path("Sound.opt")),
        ::testing::HasSubstr("Mixrate=44100\nStereo=0\n16 Bit=0\nFilter Mode=0\n"));
}

TEST_F(PlayerTest, ASettingsFileThatCantBeWrittenIsToldAndTheSoundStillEnds)
{
    std::filesystem::create_directory(folder_.Path("Sound.opt"));
    player_->PlaySong(1);
    player_->Settle();
    End();
    ASSERT_EQ(recorder_->failures.size(), 1u);
    EXPECT_THAT(recorder_->failures[0], ::testing::HasSubstr("Kann nicht nach"));
    EXPECT_FALSE(TSoundSide::Abandoned());
}

} // namespace
