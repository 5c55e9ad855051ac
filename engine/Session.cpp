#include "engine/Session.h"
#include "engine/Errors.h"

namespace velmora::engine {
namespace {

ModuleHandle lastModuleHandle = 0;
PlayHandle lastPlayHandle = 0;

} // namespace

Session::Session(const EngineOptions& options, float volume)
    : format_(OutputFormat::From(options)), ring_(format_.channels, Decoder::RingChunks(format_)),
      decoder_(format_, ring_, control_), playout_(format_, ring_, control_), output_(format_, playout_)
{
    control_.volume.store(volume);
}

Session::~Session()
{
    worker_.reset();
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
    if (running && !worker_)
        worker_ = std::make_unique<AudioWorker>(format_, decoder_, output_, control_);
    else if (!running)
        worker_.reset();
}

void Session::Change(const std::function<void()>& change)
{
    if (worker_)
        worker_->Call(change);
    else
        change();
}

ModuleHandle Session::Load(const std::string& path)
{
    auto player = ModulePlayer::Load(path, format_.rate);
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
    ModulePlayer& player = *found->second;
    Change([&] { decoder_.Release(player); });
    if (playingModule_ == module)
        playing_ = playingModule_ = 0;
    modules_.erase(found);
}

const ModuleInfo& Session::Info(ModuleHandle module) const
{
    return Module(module).Info();
}

PlayHandle Session::Play(ModuleHandle module, bool loop)
{
    ModulePlayer& player = Module(module);
    control_.paused.store(false);
    Change([&] { decoder_.Play(player, loop); });
    changedTo_ = {};
    playingModule_ = module;
    playing_ = ++lastPlayHandle;
    if (worker_)
        worker_->Wake();
    return playing_;
}

void Session::Stop(PlayHandle play)
{
    if (play != 0 && play == playing_) {
        control_.paused.store(false);
        Change([&] { decoder_.Stop(); });
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
    const std::uint64_t heard = control_.heardOrder.load(std::memory_order_acquire);
    if (PlayControl::GenerationOf(heard) != control_.generation.load(std::memory_order_acquire))
        return changedTo_.order;
    return static_cast<int>(PlayControl::ValueOf(heard));
}

void Session::SetPosition(PlayHandle play, int order)
{
    CheckPlaying(play);
    Change([&] { changedTo_ = decoder_.JumpToOrder(order); });
}

std::uint32_t Session::PlayTime(PlayHandle play) const
{
    CheckPlaying(play);
    const std::uint64_t heard = control_.heardTimeMs.load(std::memory_order_acquire);
    if (PlayControl::GenerationOf(heard) != control_.generation.load(std::memory_order_acquire))
        return changedTo_.timeMs;
    return PlayControl::ValueOf(heard);
}

void Session::SetPlayTime(PlayHandle play, std::uint32_t milliseconds)
{
    CheckPlaying(play);
    Change([&] { changedTo_ = decoder_.JumpToTime(milliseconds); });
}

void Session::Pause(PlayHandle play, bool pause)
{
    CheckPlaying(play);
    control_.paused.store(pause, std::memory_order_relaxed);
    if (worker_)
        worker_->Wake();
}

void Session::SetVolume(float volume)
{
    control_.volume.store(volume, std::memory_order_relaxed);
}

void Session::MixInto(std::uint8_t* buffer, std::size_t bytes)
{
    if (worker_)
        throw EngineError(ErrorCode::InvalidArgument,
            "The engine mixes in the background: stop background play before mixing by hand");
    // Block by block as the device would pull, the decoder keeping ahead.
    const std::size_t blockBytes = static_cast<std::size_t>(format_.blockFrames) * format_.FrameBytes();
    while (bytes > 0) {
        const std::size_t block = std::min(bytes, blockBytes);
        decoder_.Fill(static_cast<std::size_t>(format_.aheadFrames));
        playout_.Fill(buffer, block);
        buffer += block;
        bytes -= block;
    }
}

} // namespace velmora::engine
