#pragma once

// The sound thread. Every call into the sound engine is made here, through
// the sound player: parsing a large module, or reopening the output while a
// sound server hangs, holds up only the sound, never the windows. The
// program's thread sends commands, which return at once; what became of
// them comes back as news, handed to the function given (the player posts
// it to the message loop). What is heard is kept where any thread may read
// it without waiting.
//
// Commands are carried out in the order sent, but for a choice of track
// that a newer one replaced before it played: the last choice wins.

#include "sound/MidasSoundClass.h"
#include "sound/SoundSettings.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

// What came of a command, or what happened by itself.
struct TSoundNews {
    enum class TKind {
        Loaded,   // the track of Serial plays; Details tell what it is
        Refused,  // the track of Serial could not be played (Message); what played goes on
        Reloaded, // new settings took effect; the track goes on, read anew (Details)
        Lost,     // new settings took effect, but the track could not be read again (Message)
        Seeked,   // play jumped within the track of Serial, to TimeMs: a seek, or a loop going round
        Failed,   // the engine failed (Message, its own text) and is closed: the program ends
    };
    TKind Kind = TKind::Failed;
    std::uint64_t Serial = 0;
    TModuleDetails Details;
    std::string Message;
    std::uint32_t TimeMs = 0;
};

// What is heard: the track (by the serial it was sent with), its order
// position and play time.
struct THeard {
    std::uint64_t Serial = 0; // 0: nothing plays
    std::int32_t Order = -1;
    std::uint32_t TimeMs = 0;
};

class TSoundSide {
public:
    using TNewsHandler = std::function<void(TSoundNews news)>;

    // news is called on the sound thread; it must only hand the news on.
    explicit TSoundSide(TNewsHandler news, const TMidasApi& engine = MidasLibrary());
    // Finish, with a deadline of a second.
    ~TSoundSide();
    TSoundSide(const TSoundSide&) = delete;
    TSoundSide& operator=(const TSoundSide&) = delete;

    // The commands; each returns at once.
    void Start(const TSoundSettings& settings);
    // serial names the track in the news about it.
    void Play(std::uint64_t serial, std::string path);
    void Stop();
    void Pause(bool pause);
    void SeekToOrder(std::int32_t order);
    void SeekToTime(std::uint32_t milliseconds);
    void SetVolume(int percent);
    void ApplySettings(const TSoundSettings& settings);

    // From any thread.
    THeard Heard() const;
    // Reads what is heard from any thread, for as long as the reader is
    // kept, also once this side is gone (then nothing is heard).
    std::function<THeard()> HeardReader() const;

    // Shuts the engine down and ends the thread, waiting at most until the
    // deadline. False when the thread did not come back in time: it is left
    // to itself, and the process must end without running its exit
    // handlers (Abandoned() tells).
    bool Finish(std::chrono::milliseconds deadline);
    static bool Abandoned();
    // Blocks until every command sent so far is carried out and its news
    // handed on (tests).
    void WaitIdle();

private:
    friend class TSoundThread;

    struct TStart { TSoundSettings Settings; };
    struct TPlay { std::uint64_t Serial; std::string Path; };
    struct TStop { };
    struct TPause { bool Paused; };
    struct TSeekOrder { std::int32_t Order; };
    struct TSeekTime { std::uint32_t Milliseconds; };
    struct TVolume { int Percent; };
    struct TApply { TSoundSettings Settings; };
    using TCommand = std::variant<TStart, TPlay, TStop, TPause, TSeekOrder, TSeekTime, TVolume, TApply>;

    // What the thread and the program's thread share; the thread keeps it
    // alive when it is left to itself.
    struct TShared {
        mutable std::mutex Mutex;
        std::condition_variable Changed;
        std::deque<TCommand> Commands;
        bool Busy = false;
        bool Finishing = false;
        bool Finished = false;
        THeard Heard;
    };

    void Send(TCommand command);
    static void Run(std::shared_ptr<TShared> shared, TNewsHandler news, const TMidasApi& engine);

    std::shared_ptr<TShared> shared_;
    std::thread thread_;
};
