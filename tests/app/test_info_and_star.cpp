#include "AppTestSupport.h"

#include "toolkit/windowing/Application.h"

#include <algorithm>
#include <set>

namespace {

struct Shown {
    std::string text;
    TColor color;
};

} // namespace

class InfoScriptTest : public MainWindowTest {
protected:
    Shown Now() { return {window->lInfo->Caption(), window->lInfo->Font().Color()}; }
};

TEST_F(InfoScriptTest, BlankForElevenTicksThenWelcomeOnTheTwelfth)
{
    EXPECT_EQ(window->lInfo->Caption(), "") << "the placeholder is never seen";
    for (int tick = 1; tick <= 11; ++tick) {
        Tick();
        EXPECT_EQ(window->lInfo->Caption(), "") << "tick " << tick;
    }
    Tick();
    EXPECT_EQ(window->lInfo->Caption(), "  Welcome");
    EXPECT_EQ(window->lInfo->Font().Color(), 1886207);
}

TEST_F(InfoScriptTest, OnePassIs529TicksAndRow94IsFollowedByRow0)
{
    std::vector<Shown> shown;
    for (int tick = 0; tick < 529 + 12; ++tick) {
        Tick();
        shown.push_back(Now());
    }
    EXPECT_EQ(shown[11].text, "  Welcome");
    EXPECT_EQ(shown[529 + 11].text, "  Welcome") << "the second pass starts 529 ticks after the first";
    EXPECT_EQ(shown[527].text, "    ...............");
    EXPECT_EQ(shown[528].text, "    ...............");
    for (int tick = 529; tick < 529 + 11; ++tick)
        EXPECT_EQ(shown[static_cast<std::size_t>(tick)].text, "");
    EXPECT_EQ(TfMainProbe::InfoIndex(*window), 2);
}

TEST_F(InfoScriptTest, ThanxRowsShowTheSixColoursInOrderAndNoRowHasSevenDots)
{
    std::vector<TColor> thanx;
    std::set<std::string> texts;
    for (int tick = 0; tick < 529; ++tick) {
        Tick();
        Shown now = Now();
        texts.insert(now.text);
        if (now.text == "      Thanx" && (thanx.empty() || thanx.back() != now.color))
            thanx.push_back(now.color);
    }
    EXPECT_EQ(thanx, (std::vector<TColor>{33023, 37119, 41215, 45311, 49407, 53503}));
    EXPECT_TRUE(texts.count("    ......"));
    EXPECT_FALSE(texts.count("    ......."));
    EXPECT_TRUE(texts.count("    ........"));
    EXPECT_TRUE(texts.count("   releated")) << "the system's own spelling stays";
}

class StarTest : public MainWindowTest { };

TEST_F(StarTest, StartsOnZeroAndTakesItsPlaceFromTheSecondNumber)
{
    random->values = {0, 10};
    Tick();
    EXPECT_TRUE(TfMainProbe::StarActive(*window));
    EXPECT_EQ(window->imgStar->Left(), 312);
    EXPECT_EQ(window->imgStar->Top(), 104);
    Tick(19);
    EXPECT_FALSE(TfMainProbe::StarActive(*window));
    random->values = {0, 50};
    Tick();
    EXPECT_EQ(window->imgStar->Left(), 80);
    EXPECT_EQ(window->imgStar->Top(), 32);
}

TEST_F(StarTest, DrawsTheNineteenFramesOnTheTicksAfterTheStart)
{
    auto frameOf = [&]() {
        for (int frame = 0; frame < 8; ++frame) {
            if (window->imgStar->Picture().Pixmap() == window->imgStarFrames[frame]->Picture().Pixmap())
                return frame;
        }
        return -1;
    };
    auto before = window->imgStar->Picture().Pixmap();
    random->values = {0, 99};
    Tick();
    EXPECT_EQ(window->imgStar->Picture().Pixmap(), before) << "no frame is drawn on the starting tick";
    std::vector<int> frames;
    for (int tick = 1; tick <= 19; ++tick) {
        Tick();
        frames.push_back(frameOf());
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 6, 7, 7, 7, 6, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_FALSE(TfMainProbe::StarActive(*window));
    random->values = {0, 0};
    Tick();
    EXPECT_TRUE(TfMainProbe::StarActive(*window)) << "a new twinkle may start on the very next tick";
}

TEST_F(StarTest, OneChanceInAHundredPerIdleTick)
{
    random->requests.clear();
    Tick(3);
    EXPECT_EQ(random->requests, (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(random->seeded, 1) << "seeded once, at creation";
}

// The info label's caption drawn with room all round, one pass at a time,
// so what the label's own rectangle would cut off shows as ink outside it.
class TurnedCaptionSheet {
public:
    static constexpr int Margin = 60;

    explicit TurnedCaptionSheet(const TLMDLabel& info) : info_(info), sheet_(TComponent::Create<TForm>(&Application()))
    {
        sheet_->SetBounds(0, 0, info.Width() + 2 * Margin, info.Height() + 2 * Margin);
        label_ = TComponent::Create<TLMDLabel>(sheet_);
        label_->SetParent(sheet_);
        label_->SetAutoSize(false);
        label_->SetBounds(0, 0, sheet_->Width(), sheet_->Height());
        label_->SetColor(clBlack);
        label_->SetFont(info.Font());
        label_->SetFontFx(info.FontFx());
        label_->FontFx().SetPosX(info.FontFx().PosX() + Margin);
        label_->FontFx().SetPosY(info.FontFx().PosY() + Margin);
    }
    ~TurnedCaptionSheet() { sheet_->Free(); }

    // Where the text pass (light: false) or the light pass leaves ink, in
    // the info label's coordinates. Pixels under a quarter of the pass's
    // brightness are the anti-aliased fringe, not ink.
    TRect Ink(const std::string& text, TColor color, bool light)
    {
        label_->SetCaption(text);
        label_->Font().SetColor(light ? clBlack : color);
        label_->FontFx().SetLightColor(light ? info_.FontFx().LightColor() : clBlack);
        TColor pass = light ? info_.FontFx().LightColor() : color;
        int threshold = std::max({GetRValue(pass), GetGValue(pass), GetBValue(pass)}) / 4;
        TPixmap picture = sheet_->Snapshot();
        TRect ink;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                TPixel p = picture.At(x, y);
                if (std::max({GetRValue(p), GetGValue(p), GetBValue(p)}) > threshold)
                    ink = ink.Union(TRect::FromBounds(x - Margin, y - Margin, 1, 1));
            }
        }
        return ink;
    }

private:
    const TLMDLabel& info_;
    TForm* sheet_;
    TLMDLabel* label_ = nullptr;
};

TEST_F(InfoScriptTest, EveryRowFitsTheTurnedCaptionWhole)
{
    TurnedCaptionSheet sheet(*window->lInfo);
    const TRect label = window->lInfo->ClientRect();
    for (const InfoLine& row : BuildInfoScript()) {
        if (row.Color == clBlack)
            continue; // the blank rows
        for (bool light : {false, true}) {
            TRect ink = sheet.Ink(row.Text, row.Color, light);
            EXPECT_EQ(ink.Intersect(label), ink)
                << '"' << row.Text << (light ? "\" in light" : "\"") << " reaches " << ink.Left << ", " << ink.Top
                << " to " << ink.Right << ", " << ink.Bottom;
        }
    }
}
