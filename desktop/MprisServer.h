#pragma once

// The player on the session bus as an MPRIS 2 media player, the interface
// that desktops, their media keys and playerctl use. Calls from the bus are
// answered on the bus's own thread at once: properties come from a view of
// the player that the message loop keeps current, and commands are posted
// to the loop and carried out there. No call from the bus ever waits for
// the loop, nor opens a window from within the bus's handling.
//
// A file the desktop asks to open that can't be (no file URI, no such file,
// an address longer than any path) is refused to the caller at once; the
// user is told on the loop, in one message for a burst of them.

#include "desktop/SessionBus.h"
#include "player/Player.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TTimer;
struct sd_bus_slot;

struct TMprisIdentity {
    std::string Name;         // "Velmora"
    std::string DesktopEntry; // the desktop file's name without ".desktop"
    std::string DiscTitle;    // the album of the disc's own songs
    std::vector<std::string> MimeTypes;
};

// What the bus's handlers read of the player, as the loop last saw it.
struct TMprisView {
    bool PlayerThere = true;
    TPlaybackState State = TPlaybackState::Stopped;
    TTrack Track;
    int Volume = 100; // per cent
};

class TMprisServer : private TPlayerListener {
public:
    // The bus name every MPRIS player takes, with the program's own part.
    static constexpr const char* BusName = "org.mpris.MediaPlayer2.velmora";
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* RootInterface = "org.mpris.MediaPlayer2";
    static constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";
    // The longest address OpenUri considers: no path is longer.
    static constexpr std::size_t LongestUri = 4096;

    // What the program does for the bus, on the message loop: raise brings
    // the window to the front; quit ends as closing the window does; tell
    // shows the user a message about files the desktop asked for in vain.
    struct THooks {
        std::function<void()> Raise;
        std::function<void()> Quit;
        std::function<void(const std::string& message)> Tell;
    };

    // Whether an error from OpenUri is the disc refusing the file, rather
    // than no answer.
    static bool IsRefusal(const TSessionBus::TCallError& error);

    // The bus must have claimed BusName and not be served yet.
    TMprisServer(std::shared_ptr<TSessionBus> bus, TPlayer& player, TMprisIdentity identity, THooks hooks);
    ~TMprisServer() override;

    TMprisServer(const TMprisServer&) = delete;
    TMprisServer& operator=(const TMprisServer&) = delete;

    // For the bus's handlers, from its thread.
    TMprisView View() const;
    // Play time heard of the track in view, in microseconds, within its
    // length.
    std::int64_t PositionUs() const;
    const TMprisIdentity& Identity() const { return identity_; }
    // The object path that names the track (MPRIS's track id).
    std::string TrackId() const;
    // Runs a command on the message loop, with the player if it is still
    // there; from any thread.
    void Later(std::function<void(TPlayer&)> command);
    void Raise();
    void Quit();
    // A file the desktop asked for was refused, for this reason; from any
    // thread.
    void Refused(std::string reason);

    // How long refusals are gathered before the user is told of them: a
    // burst of them makes one message.
    static constexpr unsigned GatherRefusalsMs = 300;

private:
    void TrackChanged(const TTrack& track) override;
    void StateChanged(TPlaybackState state) override;
    void VolumeChanged(int volume) override;
    void Seeked(std::uint32_t milliseconds) override;
    void PlayerGone() override;
    void Changed(std::vector<const char*> properties);
    void TellRefusals();

    std::shared_ptr<TSessionBus> bus_;
    TPlayer* player_;
    const TMprisIdentity identity_;
    THooks hooks_;
    std::function<THeard()> heard_;
    sd_bus_slot* rootSlot_ = nullptr;
    sd_bus_slot* playerSlot_ = nullptr;

    mutable std::mutex viewMutex_;
    TMprisView view_;

    // On the message loop: refusals gathered, the last one's reason, and
    // whether the user is being told already.
    int refusals_ = 0;
    std::string lastRefusal_;
    bool telling_ = false;
    std::unique_ptr<TTimer> refusalTimer_;

    // Calls posted before the server went away find it gone.
    std::shared_ptr<TMprisServer*> self_;
};
