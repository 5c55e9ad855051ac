#pragma once

// What the sound player's tests share: a folder of their own and the fake
// engine, fresh for every test.

#include "FakeEngine.h"
#include "sound/MidasSoundClass.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace soundtest {

// The file's lines without the empty ones.
std::vector<std::string> Lines(const std::string& path);

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A player on the fake engine, started with these settings.
    TMidasSound& MakePlayer(const TSoundSettings& settings = {});

    TempFolder folder_;
    std::unique_ptr<TMidasSound> player_;
};

} // namespace soundtest
