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

TMidasSound& PlayerTest::MakePlayer(const TSoundSettings& settings)
{
    player_ = std::make_unique<TMidasSound>(FakeApi());
    player_->Start(settings);
    return *player_;
}

} // namespace soundtest
