// The update timer of the main window: gauge, info script, star twinkle.

#include "app/Main.h"

#include "app/Random.h"

namespace {

// Frame numbers of one twinkle: a star that grows, shines and fades.
constexpr std::array<int, 19> StarFrames = {0, 1, 2, 3, 4, 5, 6, 6, 7, 7, 7, 6, 6, 5, 4, 3, 2, 1, 0};

constexpr TPoint StarRightPlace{312, 104};
constexpr TPoint StarUpperPlace{80, 32};

} // namespace

void TfMain::timerUpdateTimer(TObject*)
{
    // The timer ticks on in the message box of a player that failed to
    // start, and in one that ends the program.
    if (player_) {
        std::int32_t position = player_->Position();
        gSongPos->SetProgress(position > 0 ? position : 0);
    }
    InfoScriptStep();
    StarTwinkle();
}

void TfMain::InfoScriptStep()
{
    if (InfoWait != 0) {
        --InfoWait;
        return;
    }
    const InfoLine& row = InfoScript[static_cast<std::size_t>(InfoIndex)];
    lInfo->SetCaption(row.Text);
    lInfo->Font().SetColor(row.Color);
    InfoWait = row.Duration;
    InfoIndex = (InfoIndex + 1) % InfoScriptLength;
}

void TfMain::StarTwinkle()
{
    if (!StarActive) {
        if (ProgramRandom().Random(100) != 0)
            return;
        StarActive = true;
        StarStep = 0;
        TPoint place = ProgramRandom().Random(100) < 50 ? StarRightPlace : StarUpperPlace;
        imgStar->SetLeft(place.X);
        imgStar->SetTop(place.Y);
        return;
    }
    int frame = StarFrames[static_cast<std::size_t>(StarStep)];
    imgStar->Picture().Canvas().Draw(0, 0, imgStarFrames[static_cast<std::size_t>(frame)]->Picture());
    imgStar->Repaint();
    if (++StarStep > 18)
        StarActive = false;
}
