#pragma once

// The main window built from its real layout in a headless application,
// with the real engine on SDL's dummy output, songs of our own making in a
// scratch program folder, and a random generator the test scripts.

#include "app/Main.h"
#include "app/Random.h"

#include "tests/support/MainWindowProbe.h"
#include "tests/support/TestModules.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

// Answers from a script; 1 (no twinkle) once the script is used up.
class TScriptedRandom : public TRandom {
public:
    void Randomize() override { ++seeded; }
    int Random(int range) override
    {
        requests.push_back(range);
        if (values.empty())
            return 1;
        int value = values.front();
        values.pop_front();
        return value;
    }
    std::deque<int> values;
    std::vector<int> requests;
    int seeded = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits for the sound thread to carry out what was asked of it, and
    // takes in what it told.
    void Settle();
    // One tick of the 250 ms update timer, once what was asked is heard.
    void Tick(int count = 1);
    // A left click at a point of the window, through the toolkit's input;
    // then Settle.
    void ClickAt(int x, int y);
    void ClickOn(TControl& control);
    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    std::vector<int> ButtonStates();

    TfMain* window = nullptr;
    TScriptedRandom* random = nullptr;
    std::filesystem::path folder;
    std::vector<std::string> messages;
};
