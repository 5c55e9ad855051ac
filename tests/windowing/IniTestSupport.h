#pragma once

// A settings file of a test's own, in a folder of its own.

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class IniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = std::filesystem::temp_directory_path() /
            ("velmora-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        path = (directory / "Sound.opt").string();
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read()
    {
        std::stringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    // Writes one key and returns the whole file.
    std::string After(const std::string& section, const std::string& key, const std::string& value)
    {
        TIniFile(path).WriteString(section, key, value);
        return Read();
    }
    void ExpectRefused(const std::string& what)
    {
        EXPECT_EQ(TIniFile(path).ReadString("Sound", "Mixrate", "dflt"), "dflt") << what;
        try {
            TIniFile(path).WriteString("Sound", "Mixrate", "1");
            ADD_FAILURE() << what << " was written";
        } catch (const EInvalidOperation& error) {
            EXPECT_EQ(std::string(error.what()), "Kann nicht nach " + path + " schreiben") << what;
        }
    }
    // Nothing but the settings file, and no half-written file beside it.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::filesystem::path directory;
    std::string path;
};

