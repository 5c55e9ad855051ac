#include "SoundTestSupport.h"

#include "toolkit/windowing/Application.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace soundtest {

TempFolder::TempFolder()
{
    static std::mt19937 random(std::random_device {}());
    path_ = std::filesystem::temp_directory_path() / ("velmora-sound-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& path)
{
    std::istringstream in(ReadText(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

void PlayerTest::SetUp()
{
    ResetFake();
    Application().MessageBoxHook = [this](const std::string& text, const std::string& caption, unsigned flags) {
        messages_.push_back({ text, caption, flags });
        return IDOK;
    };
}

void PlayerTest::TearDown()
{
    // Players still alive end here, while their messages are recorded.
    while (owner_.ComponentCount() > 0)
        owner_.Components(0)->Free();
    Application().MessageBoxHook = nullptr;
}

TMidasSound* PlayerTest::MakePlayer()
{
    return TComponent::Create<TMidasSound>(&owner_, folder_.Dir(), FakeApi());
}

void PlayerTest::StoreSettings(const std::vector<std::string>& keys) const
{
    std::string text = "[Sound]\n";
    for (const std::string& key : keys)
        text += key + "\n";
    WriteText(SettingsPath(), text);
}

} // namespace soundtest
