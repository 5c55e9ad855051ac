#include "engine/Session.h"
#include "engine/Errors.h"

namespace velmora::engine {
namespace {

ModuleHandle lastModuleHandle = 0;
PlayHandle lastPlayHandle = 0;

} // namespace

Session::Session(const EngineOptions& options)
    : format_(OutputFormat::From(options)), mixer_(format_), output_(std::make_unique<AudioOutput>(format_, mixer_))
{
}

Session::~Session()
{
    output_.reset();
}

bool Session::WasIssued(ModuleHandle module)
{
    return module <= lastModuleHandle;
}

bool Session::WasIssuedPlay(PlayHandle play)
{
    return play <= lastPlayHandle;
}

void Session::SetBackgroundPlay(bool running)
{
    if (output_->Running() != running)
        output_->SetRunning(running);
}

ModuleHandle Session::Load(const std::string& path)
{
    auto player = ModulePlayer::Load(path);
    const ModuleHandle handle = ++lastModuleHandle;
    modules_.emplace(handle, std::move(player));
    return handle;
}

ModulePlayer& Session::Module(ModuleHandle module) const
{
    const auto found = modules_.find(module);
    if (found == modules_.end())
        throw EngineError(
            ErrorCode::InvalidModule, "Invalid module handle " + std::to_string(module) + ": no such module is loaded");
    return *found->second;
}

void Session::Free(ModuleHandle module)
{
    const auto found = modules_.find(module);
    if (found == modules_.end()) {
        if (WasIssued(module))
            return;
        throw EngineError(ErrorCode::InvalidModule,
            "Invalid module handle " + std::to_string(module) + ": no such module was loaded");
    }
    mixer_.Stop(*found->second);
    if (playingModule_ == module)
        playing_ = playingModule_ = 0;
    modules_.erase(found);
}

ModuleInfo Session::Info(ModuleHandle module) const
{
    return Module(module).Info();
}

PlayHandle Session::Play(ModuleHandle module, bool loop)
{
    ModulePlayer& player = Module(module);
    mixer_.Play(player, loop);
    playingModule_ = module;
    playing_ = ++lastPlayHandle;
    return playing_;
}

void Session::Stop(PlayHandle play)
{
    if (play != 0 && play == playing_) {
        mixer_.Stop(Module(playingModule_));
        playing_ = playingModule_ = 0;
        return;
    }
    if (!WasIssuedPlay(play))
        throw EngineError(ErrorCode::InvalidPlayHandle,
            "Invalid play handle " + std::to_string(play) + ": no such module was played");
}

void Session::CheckPlaying(PlayHandle play) const
{
    if (play == 0 || play != playing_)
        throw EngineError(ErrorCode::InvalidPlayHandle,
            "Invalid play handle " + std::to_string(play) + ": the module is not playing");
}

int Session::Position(PlayHandle play) const
{
    CheckPlaying(play);
    return mixer_.HeardOrder();
}

void Session::SetPosition(PlayHandle play, int order)
{
    CheckPlaying(play);
    mixer_.JumpToOrder(order);
}

void Session::MixInto(std::uint8_t* buffer, std::size_t bytes)
{
    if (output_->Running())
        throw EngineError(ErrorCode::InvalidArgument,
            "The engine mixes in the background: stop background play before mixing by hand");
    mixer_.Fill(buffer, bytes);
}

} // namespace velmora::engine
