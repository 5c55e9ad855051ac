#pragma once

// The player on the session bus as an MPRIS 2 media player, the interface
// that desktops, their media keys and playerctl use. Calls from the bus are
// posted to the message loop and carried out there, after the bus's turn is
// done, so that a message box a command opens never runs inside the bus's
// handling; properties are read from the player as it is.

#include "player/Player.h"

#include <functional>
#include <memory>
#include <string>

class TSessionBus;
struct sd_bus_slot;

struct TMprisIdentity {
    std::string Name;         // "Velmora"
    std::string DesktopEntry; // the desktop file's name without ".desktop"
    std::string DiscTitle;    // the album of the disc's own songs
    std::vector<std::string> MimeTypes;
};

class TMprisServer : private TPlayerListener {
public:
    // The bus name every MPRIS player takes, with the program's own part.
    static constexpr const char* BusName = "org.mpris.MediaPlayer2.velmora";
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* RootInterface = "org.mpris.MediaPlayer2";
    static constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";

    // raise: brings the window to the front; quit: ends as closing the
    // window does. The bus must have claimed BusName.
    TMprisServer(std::shared_ptr<TSessionBus> bus, TPlayer& player, TMprisIdentity identity,
        std::function<void()> raise, std::function<void()> quit);
    ~TMprisServer() override;

    TMprisServer(const TMprisServer&) = delete;
    TMprisServer& operator=(const TMprisServer&) = delete;

    // What the bus's handlers need; null once the player is gone.
    TPlayer* Player() const { return player_; }
    const TMprisIdentity& Identity() const { return identity_; }
    // Runs a command on the message loop, once the bus's turn is done.
    void Later(std::function<void(TPlayer&)> command);
    void Raise()
    {
        Later([this](TPlayer&) { raise_(); });
    }
    void Quit()
    {
        Later([this](TPlayer&) { quit_(); });
    }
    // The object path that names the track (MPRIS's track id).
    std::string TrackId() const;

private:
    void TrackChanged(const TTrack& track) override;
    void StateChanged(TPlaybackState state) override;
    void VolumeChanged(int volume) override;
    void Seeked(std::uint32_t milliseconds) override;
    void PlayerGone() override;
    void Changed(std::initializer_list<const char*> properties);

    std::shared_ptr<TSessionBus> bus_;
    TPlayer* player_;
    TMprisIdentity identity_;
    std::function<void()> raise_;
    std::function<void()> quit_;
    sd_bus_slot* rootSlot_ = nullptr;
    sd_bus_slot* playerSlot_ = nullptr;
    // Calls posted before the server went away find it gone.
    std::shared_ptr<TMprisServer*> self_;
};
