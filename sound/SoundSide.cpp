#include "sound/SoundSide.h"

#include <atomic>

namespace {

// How often what is heard is looked at while a song plays: the gauge and
// the media controls' position follow it.
constexpr auto lookEvery = std::chrono::milliseconds(100);

std::atomic<bool> abandoned{false};

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};

} // namespace

// The thread's own state: the sound player and what it plays.
class TSoundThread {
public:
    TSoundThread(const TMidasApi& engine, TSoundSide::TNewsHandler news) : sound_(engine), news_(std::move(news)) { }

    void Carry(const TSoundSide::TCommand& command);
    // Follows what is heard; a looping song that went round is news.
    THeard Look();
    void Shutdown();
    bool Failed() const { return failed_; }
    bool Playing() const { return sound_.IsPlaying() && !sound_.IsPaused(); }

    // Asked once a chosen file is loaded: is it still the last choice?
    std::function<bool()> Wanted;

private:
    static TSoundNews News(TSoundNews::TKind kind, std::uint64_t serial)
    {
        TSoundNews news;
        news.Kind = kind;
        news.Serial = serial;
        return news;
    }
    void Tell(TSoundNews news) { news_(std::move(news)); }
    void TellSeeked();
    // The engine is closed: nothing more is asked of it.
    void Fail(const ESoundFailure& failure)
    {
        failed_ = true;
        serial_ = 0;
        TSoundNews news = News(TSoundNews::TKind::Failed, 0);
        news.Message = failure.what();
        Tell(std::move(news));
    }

    TMidasSound sound_;
    TSoundSide::TNewsHandler news_;
    std::uint64_t serial_ = 0;    // of what plays
    std::uint32_t lookedAtMs_ = 0; // the play time at the last look
    bool failed_ = false;
};

void TSoundThread::TellSeeked()
{
    lookedAtMs_ = sound_.GetPlayTime();
    TSoundNews news = News(TSoundNews::TKind::Seeked, serial_);
    news.TimeMs = lookedAtMs_;
    Tell(std::move(news));
}

void TSoundThread::Carry(const TSoundSide::TCommand& command)
{
    using TKind = TSoundNews::TKind;
    try {
        std::visit(Overloaded{
                       [&](const TSoundSide::TStart& start) { sound_.Start(start.Settings); },
                       [&](const TSoundSide::TPlay& play) {
                           const auto result = sound_.PlayFile(play.Path, Wanted);
                           using TOutcome = TMidasSound::TPlayResult::TOutcome;
                           if (result.Outcome == TOutcome::Playing) {
                               serial_ = play.Serial;
                               lookedAtMs_ = 0;
                               TSoundNews news = News(TKind::Loaded, serial_);
                               news.Details = sound_.GetDetails();
                               Tell(std::move(news));
                           } else if (result.Outcome == TOutcome::Refused) {
                               TSoundNews news = News(TKind::Refused, play.Serial);
                               news.Message = result.Message;
                               Tell(std::move(news));
                           }
                       },
                       [&](const TSoundSide::TStop&) {
                           sound_.Stop();
                           serial_ = 0;
                       },
                       [&](const TSoundSide::TPause& pause) { sound_.Pause(pause.Paused); },
                       [&](const TSoundSide::TSeekOrder& seek) {
                           sound_.SetPosition(seek.Order);
                           if (sound_.IsPlaying())
                               TellSeeked();
                       },
                       [&](const TSoundSide::TSeekTime& seek) {
                           sound_.SetPlayTime(seek.Milliseconds);
                           if (sound_.IsPlaying())
                               TellSeeked();
                       },
                       [&](const TSoundSide::TVolume& volume) { sound_.SetVolume(volume.Percent); },
                       [&](const TSoundSide::TApply& apply) {
                           const bool wasPlaying = sound_.IsPlaying();
                           if (const auto lost = sound_.ApplySettings(apply.Settings)) {
                               serial_ = 0;
                               TSoundNews news = News(TKind::Lost, 0);
                               news.Message = *lost;
                               Tell(std::move(news));
                           } else if (wasPlaying) {
                               lookedAtMs_ = sound_.GetPlayTime();
                               TSoundNews news = News(TKind::Reloaded, serial_);
                               news.Details = sound_.GetDetails();
                               Tell(std::move(news));
                           }
                       },
                   },
            command);
    } catch (const ESoundFailure& failure) {
        Fail(failure);
    }
}

THeard TSoundThread::Look()
{
    if (failed_ || !sound_.IsPlaying())
        return {};
    try {
        THeard heard{serial_, sound_.GetPosition(), sound_.GetPlayTime()};
        // Time heard never runs backwards but for a jump, and this one no
        // command made: the song went round its loop.
        if (heard.TimeMs < lookedAtMs_ && !sound_.IsPaused()) {
            TSoundNews news = News(TSoundNews::TKind::Seeked, serial_);
            news.TimeMs = heard.TimeMs;
            Tell(std::move(news));
        }
        lookedAtMs_ = heard.TimeMs;
        return heard;
    } catch (const ESoundFailure& failure) {
        Fail(failure);
        return {};
    }
}

void TSoundThread::Shutdown()
{
    try {
        sound_.Shutdown();
    } catch (const ESoundFailure&) {
        // Ending anyway.
    }
}

TSoundSide::TSoundSide(TNewsHandler news, const TMidasApi& engine) : shared_(std::make_shared<TShared>())
{
    thread_ = std::thread(&TSoundSide::Run, shared_, std::move(news), std::cref(engine));
}

TSoundSide::~TSoundSide()
{
    if (thread_.joinable())
        Finish(std::chrono::seconds(1));
}

void TSoundSide::Send(TCommand command)
{
    {
        std::lock_guard lock(shared_->Mutex);
        shared_->Commands.push_back(std::move(command));
    }
    shared_->Changed.notify_all();
}

void TSoundSide::Start(const TSoundSettings& settings)
{
    Send(TStart{settings});
}

void TSoundSide::Play(std::uint64_t serial, std::string path)
{
    Send(TPlay{serial, std::move(path)});
}

void TSoundSide::Stop()
{
    Send(TStop{});
}

void TSoundSide::Pause(bool pause)
{
    Send(TPause{pause});
}

void TSoundSide::SeekToOrder(std::int32_t order)
{
    Send(TSeekOrder{order});
}

void TSoundSide::SeekToTime(std::uint32_t milliseconds)
{
    Send(TSeekTime{milliseconds});
}

void TSoundSide::SetVolume(int percent)
{
    Send(TVolume{percent});
}

void TSoundSide::ApplySettings(const TSoundSettings& settings)
{
    Send(TApply{settings});
}

THeard TSoundSide::Heard() const
{
    std::lock_guard lock(shared_->Mutex);
    return shared_->Heard;
}

std::function<THeard()> TSoundSide::HeardReader() const
{
    return [shared = shared_] {
        std::lock_guard lock(shared->Mutex);
        return shared->Heard;
    };
}

bool TSoundSide::Finish(std::chrono::milliseconds deadline)
{
    if (!thread_.joinable())
        return true;
    std::unique_lock lock(shared_->Mutex);
    shared_->Finishing = true;
    shared_->Changed.notify_all();
    if (shared_->Changed.wait_for(lock, deadline, [&] { return shared_->Finished; })) {
        lock.unlock();
        thread_.join();
        return true;
    }
    // The thread is held up in the engine (a sound server that hangs): it
    // keeps what it shares alive, and the process ends around it.
    lock.unlock();
    thread_.detach();
    abandoned = true;
    return false;
}

bool TSoundSide::Abandoned()
{
    return abandoned;
}

void TSoundSide::WaitIdle()
{
    std::unique_lock lock(shared_->Mutex);
    shared_->Changed.wait(lock, [&] { return (shared_->Commands.empty() && !shared_->Busy) || shared_->Finished; });
}

void TSoundSide::Run(std::shared_ptr<TShared> shared, TNewsHandler news, const TMidasApi& engine)
{
    TSoundThread thread(engine, std::move(news));
    // A choice of track is still wanted while no newer choice, and no stop,
    // waits behind it.
    const auto replaced = [&shared] {
        for (const TCommand& command : shared->Commands)
            if (std::holds_alternative<TPlay>(command) || std::holds_alternative<TStop>(command))
                return true;
        return false;
    };
    thread.Wanted = [&] {
        std::lock_guard lock(shared->Mutex);
        return !replaced();
    };

    std::unique_lock lock(shared->Mutex);
    while (true) {
        const auto ready = [&] { return !shared->Commands.empty() || shared->Finishing; };
        if (thread.Playing())
            shared->Changed.wait_for(lock, lookEvery, ready);
        else
            shared->Changed.wait(lock, ready);
        if (shared->Finishing)
            break;
        if (!shared->Commands.empty()) {
            TCommand command = std::move(shared->Commands.front());
            shared->Commands.pop_front();
            const bool skip = thread.Failed() || (std::holds_alternative<TPlay>(command) && replaced());
            shared->Busy = true;
            lock.unlock();
            if (!skip)
                thread.Carry(command);
            const THeard heard = thread.Look();
            lock.lock();
            shared->Heard = heard;
            shared->Busy = false;
            shared->Changed.notify_all();
        } else {
            lock.unlock();
            const THeard heard = thread.Look();
            lock.lock();
            shared->Heard = heard;
        }
    }
    lock.unlock();
    thread.Shutdown();
    lock.lock();
    shared->Heard = {};
    shared->Finished = true;
    shared->Changed.notify_all();
}
