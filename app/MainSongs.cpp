// Song selection and transport of the main window. The buttons, keys and
// drops ask the player; the lit song button and the gauge follow what the
// player then tells. Each handler finds the player gone when its click or
// drop waited in the queue while the window closed.

#include "app/Main.h"

#include "toolkit/windowing/Application.h"

namespace {

constexpr const char* engineErrorCaption = "MIDAS Sound System Error";

} // namespace

void TfMain::bSong1Click(TObject*)
{
    if (player_)
        player_->PlaySong(1);
}
void TfMain::bSong2Click(TObject*)
{
    if (player_)
        player_->PlaySong(2);
}
void TfMain::bSong3Click(TObject*)
{
    if (player_)
        player_->PlaySong(3);
}
void TfMain::bSong4Click(TObject*)
{
    if (player_)
        player_->PlaySong(4);
}
void TfMain::bSong5Click(TObject*)
{
    if (player_)
        player_->PlaySong(5);
}

void TfMain::bControlStopClick(TObject*)
{
    if (!player_)
        return;
    player_->Stop();
    // Also when nothing played: every button is redrawn released.
    SelectSongButton(nullptr);
}

void TfMain::bControlRewClick(TObject*)
{
    if (!player_ || !player_->IsLoaded())
        return;
    const std::int32_t position = player_->Position();
    if (position > 0)
        player_->SeekToOrder(position - 1);
}

void TfMain::bControlFFClick(TObject*)
{
    if (!player_ || !player_->IsLoaded())
        return;
    // The bound is the gauge's, set when the song started.
    const std::int32_t position = player_->Position();
    if (position < gSongPos->MaxValue())
        player_->SeekToOrder(position + 1);
}

void TfMain::FileDragDrop(TObject*)
{
    if (!player_ || FileDrag->NameWithPath().Count() == 0)
        return;
    player_->PlayFile(FileDrag->NameWithPath()[0]);
}

void TfMain::TrackChanged(const TTrack& track)
{
    ShowPlayingSong();
    // The gauge's range is known once the sound has read the module.
    if (track.LastOrder >= 0)
        ResetGauge();
    else if (track.Kind != TTrack::TKind::None)
        gSongPos->SetProgress(0);
}

void TfMain::StateChanged(TPlaybackState)
{
    ShowPlayingSong();
}

void TfMain::Failed(const std::string& message, bool engineFailure)
{
    const std::string& title = Application().Title();
    Application().ShowMessage(message,
        engineFailure       ? engineErrorCaption
            : title.empty() ? "Velmora"
                            : title,
        mbOk | mbIconError);
}

void TfMain::PlayerGone()
{
    player_ = nullptr;
}

void TfMain::ShowPlayingSong()
{
    const TTrack& track = player_->Track();
    const bool lit = player_->State() != TPlaybackState::Stopped && track.Kind == TTrack::TKind::Song;
    static constexpr int songs = TPlayer::SongCount;
    const std::array<TautoButton*, songs> buttons = {bSong1, bSong2, bSong3, bSong4, bSong5};
    SelectSongButton(lit ? buttons[static_cast<std::size_t>(track.Song - 1)] : nullptr);
}

void TfMain::SelectSongButton(TautoButton* button)
{
    // Every button is told, also one already in the wanted state, so all
    // five are redrawn.
    for (TautoButton* song : {bSong1, bSong2, bSong3, bSong4, bSong5}) {
        if (song == button)
            song->Lock();
        else
            song->Unlock();
    }
}

void TfMain::ResetGauge()
{
    gSongPos->SetProgress(0);
    gSongPos->SetMaxValue(player_->Track().LastOrder);
}
