#pragma once

// The real main window in a headless application, its sound player moved
// onto a scratch program folder (with the Sound.opt a test writes there),
// and an options window made the way the options button makes one. Input
// goes through the windows' own dispatch; time through the application's
// controllable clock.

#include "app/Main.h"
#include "options/Options.h"

#include "tests/support/MainWindowProbe.h"
#include "tests/support/TestModules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TSettings {
    std::int32_t MixRate = 0;
    bool Stereo = false;
    bool Bits16 = false;
    std::uint8_t FilterMode = 0;

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

void PrintTo(const TSettings& settings, std::ostream* out);

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes Sound.opt into the program folder (empty: none) and gives the
    // main window a new player that reads it.
    void StartPlayer(const std::string& soundOpt);
    // The options button's way: a new window owned by the application,
    // named by fOptions, its creation handler run. Not shown.
    TfOptions& OpenOptions();
    TPlayer& Player();
    TSettings Settings();
    std::vector<std::string> Texts();

    // A left click in the middle of a control of the options window, or
    // of the main window.
    // Waits for the sound thread to carry out what was asked of it, and
    // takes in what it told; the clicks below end with it.
    void Settle();
    void Click(TControl& control);
    void ClickOnMain(TControl& control);
    void ClickUp(TSpinButton& spin);
    void ClickDown(TSpinButton& spin);
    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

    TfOptions* options = nullptr;
    std::filesystem::path folder;
    std::vector<std::string> messages;
};
