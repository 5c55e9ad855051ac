#pragma once

// What the sound player's tests share: a program directory of their own,
// a recorder of the player's reports, and the fake engine.

#include "FakeEngine.h"
#include "sound/MidasSoundClass.h"
#include "tests/support/TempFolder.h"
#include "toolkit/windowing/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace soundtest {

struct ShownMessage {
    std::string text;
    TSoundFailure::TKind kind = TSoundFailure::TKind::Engine;
};

// The file's lines without the empty ones.
std::vector<std::string> Lines(const std::string& path);

// Every test starts with a fresh fake engine and records the reports.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A started player in the test's program directory on the fake engine.
    TMidasSound* MakePlayer();
    TSoundReport Recorder();
    std::string SettingsPath() const { return folder_.Path("Sound.opt"); }
    // Writes Sound.opt with these lines under [Sound].
    void StoreSettings(const std::vector<std::string>& keys) const;

    TempFolder folder_;
    std::vector<ShownMessage> messages_;
    TComponent owner_{nullptr};
};

} // namespace soundtest
