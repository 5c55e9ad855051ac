#include "SoundTestSupport.h"

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
}

void PlayerTest::TearDown()
{
    // Players still alive end here, while their messages are recorded.
    while (owner_.ComponentCount() > 0)
        owner_.Components(0)->Free();
}

TSoundReport PlayerTest::Recorder()
{
    return [this](const TSoundFailure& failure) { messages_.push_back({failure.Message, failure.Kind}); };
}

TMidasSound* PlayerTest::MakePlayer()
{
    TMidasSound* player = TComponent::Create<TMidasSound>(&owner_, folder_.Dir(), Recorder(), FakeApi());
    player->Start();
    return player;
}

void PlayerTest::StoreSettings(const std::vector<std::string>& keys) const
{
    std::string text = "[Sound]\n";
    for (const std::string& key : keys)
        text += key + "\n";
    WriteText(SettingsPath(), text);
}

} // namespace soundtest
