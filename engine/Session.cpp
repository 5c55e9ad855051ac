#include "engine/Session.h"
#include "engine/Errors.h"

namespace velmora::engine {
namespace {

ModuleHandle lastModuleHandle = 0;
PlayHandle lastPlayHandle = 0;

} // namespace

Session::Session(const EngineOptions& options)
    : m_format(OutputFormat::From(options))
    , m_mixer(m_format)
    , m_output(std::make_unique<AudioOutput>(m_format, m_mixer))
{
}

Session::~Session()
{
    m_output.reset();
}

bool Session::WasIssued(ModuleHandle module) { return module <= lastModuleHandle; }

bool Session::WasIssuedPlay(PlayHandle play) { return play <= lastPlayHandle; }

void Session::SetBackgroundPlay(bool running)
{
    if (m_output->Running() != running)
        m_output->SetRunning(running);
}

ModuleHandle Session::Load(const std::string& path)
{
    auto player = ModulePlayer::Load(path);
    const ModuleHandle handle = ++lastModuleHandle;
    m_modules.emplace(handle, std::move(player));
    return handle;
}

ModulePlayer& Session::Module(ModuleHandle module) const
{
    const auto found = m_modules.find(module);
    if (found == m_modules.end())
        throw EngineError(ErrorCode::InvalidModule, "Invalid module handle " + std::to_string(module) + ": no such module is loaded");
    return *found->second;
}

void Session::Free(ModuleHandle module)
{
    const auto found = m_modules.find(module);
    if (found == m_modules.end()) {
        if (WasIssued(module))
            return;
        throw EngineError(ErrorCode::InvalidModule, "Invalid module handle " + std::to_string(module) + ": no such module was loaded");
    }
    m_mixer.Stop(*found->second);
    if (m_playingModule == module)
        m_playing = m_playingModule = 0;
    m_modules.erase(found);
}

ModuleInfo Session::Info(ModuleHandle module) const
{
    return Module(module).Info();
}

PlayHandle Session::Play(ModuleHandle module, bool loop)
{
    ModulePlayer& player = Module(module);
    m_mixer.Play(player, loop);
    m_playingModule = module;
    m_playing = ++lastPlayHandle;
    return m_playing;
}

void Session::Stop(PlayHandle play)
{
    if (play != 0 && play == m_playing) {
        m_mixer.Stop(Module(m_playingModule));
        m_playing = m_playingModule = 0;
        return;
    }
    if (!WasIssuedPlay(play))
        throw EngineError(ErrorCode::InvalidPlayHandle, "Invalid play handle " + std::to_string(play) + ": no such module was played");
}

void Session::CheckPlaying(PlayHandle play) const
{
    if (play == 0 || play != m_playing)
        throw EngineError(ErrorCode::InvalidPlayHandle, "Invalid play handle " + std::to_string(play) + ": the module is not playing");
}

int Session::Position(PlayHandle play) const
{
    CheckPlaying(play);
    return m_mixer.HeardOrder();
}

void Session::SetPosition(PlayHandle play, int order)
{
    CheckPlaying(play);
    m_mixer.JumpToOrder(order);
}

void Session::MixInto(std::uint8_t* buffer, std::size_t bytes)
{
    if (m_output->Running())
        throw EngineError(ErrorCode::InvalidArgument, "The engine mixes in the background: stop background play before mixing by hand");
    m_mixer.Fill(buffer, bytes);
}

} // namespace velmora::engine
