#include "tools/composer/EngineRecording.h"

#include "engine/Midas.h"
#include "engine/MidasTesting.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace composer {
namespace {

constexpr int Rate = 44100;

void Check(int ok, const std::string& what)
{
    if (!ok)
        throw std::runtime_error(what + ": " + MIDASgetErrorMessage(MIDASgetLastError()));
}

// One engine for one recording, closed however the recording ends.
class EngineSession {
public:
    EngineSession()
    {
        // Nothing is heard: the output is mixed by hand, and SDL's dummy
        // driver stands in for the device the engine insists on opening.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Check(MIDASstartup(), "engine start-up");
        Check(MIDASsetOption(MIDAS_OPTION_MIXRATE, Rate), "mixing rate");
        Check(MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, MIDAS_MODE_16BIT_STEREO), "output mode");
        Check(MIDASinit(), "engine");
    }
    ~EngineSession() { MIDASclose(); }
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;
};

} // namespace

SongRecording RecordSong(const std::string& path, double seconds)
{
    EngineSession engine;
    const MIDASmodule module = MIDASloadModule(path.c_str());
    Check(module != 0, path);
    MIDASmoduleInfo info{};
    Check(MIDASgetModuleInfo(module, &info), path);
    Check(MIDASplayModule(module, 0) != 0, path);

    const auto frames = static_cast<std::size_t>(seconds * Rate);
    std::vector<std::int16_t> pcm(2 * frames);
    Check(MIDASmixInto(pcm.data(), static_cast<std::uint32_t>(pcm.size() * sizeof pcm[0])), path);

    std::size_t end = pcm.size();
    while (end > 0 && pcm[end - 1] == 0)
        --end;
    pcm.resize(end + end % 2);

    SongRecording recording;
    recording.title = info.songName;
    recording.audio.rate = Rate;
    recording.audio.samples.reserve(pcm.size());
    for (std::int16_t value : pcm)
        recording.audio.samples.push_back(value / 32768.0f);
    return recording;
}

} // namespace composer
