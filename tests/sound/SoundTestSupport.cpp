#include "SoundTestSupport.h"

#include "toolkit/windowing/Application.h"

#include <sstream>

namespace soundtest {

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
        messages_.push_back({text, caption, flags});
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
