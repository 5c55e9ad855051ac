// Song selection and transport of the main window. Each handler finds the
// player gone when its click or drop waited in the queue while the window
// closed.

#include "app/Main.h"

#include "sound/MidasSoundClass.h"

void TfMain::bSong1Click(TObject*)
{
    PlaySong(bSong1, "song1.xm");
}
void TfMain::bSong2Click(TObject*)
{
    PlaySong(bSong2, "song2.xm");
}
void TfMain::bSong3Click(TObject*)
{
    PlaySong(bSong3, "song3.xm");
}
void TfMain::bSong4Click(TObject*)
{
    PlaySong(bSong4, "song4.xm");
}
void TfMain::bSong5Click(TObject*)
{
    PlaySong(bSong5, "song5.xm");
}

void TfMain::PlaySong(TautoButton* button, const char* fileName)
{
    if (!Sound)
        return;
    // A song that can't be loaded has shown its message; nothing plays now.
    if (!Sound->PlayFile(ProgramDir + fileName)) {
        SelectSongButton(nullptr);
        return;
    }
    SelectSongButton(button);
    ResetGauge();
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
    gSongPos->SetMaxValue(Sound->GetSongLength());
}

void TfMain::bControlStopClick(TObject*)
{
    if (!Sound)
        return;
    Sound->Stop();
    SelectSongButton(nullptr);
}

void TfMain::bControlRewClick(TObject*)
{
    if (!Sound || !Sound->IsPlaying())
        return;
    std::int32_t position = Sound->GetPosition();
    if (position > 0)
        Sound->SetPosition(position - 1);
}

void TfMain::bControlFFClick(TObject*)
{
    if (!Sound || !Sound->IsPlaying())
        return;
    // The bound is the gauge's, set when the song started.
    std::int32_t position = Sound->GetPosition();
    if (position < gSongPos->MaxValue())
        Sound->SetPosition(position + 1);
}

void TfMain::FileDragDrop(TObject*)
{
    if (!Sound || FileDrag->NameWithPath().Count() == 0)
        return;
    bool playing = Sound->PlayFile(FileDrag->NameWithPath()[0]);
    SelectSongButton(nullptr);
    if (playing)
        ResetGauge();
}
