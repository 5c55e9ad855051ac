#pragma once

// What the sound player's tests share: a program directory of their own,
// a recorder in place of the message box, and the fake engine.

#include "FakeEngine.h"
#include "sound/MidasSoundClass.h"
#include "toolkit/windowing/Component.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace soundtest {

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};

// A fresh folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    // The folder with its trailing separator, as the program directory is given.
    std::string Dir() const { return path_.string() + "/"; }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// The file's lines without the empty ones.
std::vector<std::string> Lines(const std::string& path);

// Every test starts with a fresh fake engine and records the message boxes.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A player in the test's program directory on the fake engine.
    TMidasSound* MakePlayer();
    std::string SettingsPath() const { return folder_.Path("Sound.opt"); }
    // Writes Sound.opt with these lines under [Sound].
    void StoreSettings(const std::vector<std::string>& keys) const;

    TempFolder folder_;
    std::vector<ShownMessage> messages_;
    TComponent owner_ { nullptr };
};

} // namespace soundtest
