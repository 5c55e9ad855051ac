#include "desktop/MprisServer.h"

#include "desktop/FileUri.h"
#include "desktop/SessionBus.h"
#include "desktop/Utf8.h"
#include "toolkit/windowing/Application.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

namespace {

constexpr const char* noTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
constexpr const char* trackPrefix = "/org/velmora/Velmora/Track/";

TMprisServer& Server(void* userdata)
{
    return *static_cast<TMprisServer*>(userdata);
}

std::int64_t Microseconds(std::uint32_t milliseconds)
{
    return static_cast<std::int64_t>(milliseconds) * 1000;
}

// Methods.

int Done(sd_bus_message* call)
{
    return sd_bus_reply_method_return(call, "");
}

template <void (TPlayer::*command)()>
int PlayerCommand(sd_bus_message* call, void* userdata, sd_bus_error*)
{
    Server(userdata).Later([](TPlayer& player) { (player.*command)(); });
    return Done(call);
}

int Raise(sd_bus_message* call, void* userdata, sd_bus_error*)
{
    Server(userdata).Raise();
    return Done(call);
}

int Quit(sd_bus_message* call, void* userdata, sd_bus_error*)
{
    Server(userdata).Quit();
    return Done(call);
}

// Moves play by offset (any microseconds) from where it is; past the end it
// is the next track, before the start the start.
int Seek(sd_bus_message* call, void* userdata, sd_bus_error*)
{
    std::int64_t offset = 0;
    if (const int result = sd_bus_message_read(call, "x", &offset); result < 0)
        return result;
    Server(userdata).Later([offset](TPlayer& player) {
        if (!player.IsLoaded())
            return;
        constexpr std::int64_t latest = std::numeric_limits<std::int64_t>::max();
        const std::int64_t now = Microseconds(player.PlayTime());
        const std::int64_t target = offset > latest - now ? latest : now + offset;
        const std::int64_t length = Microseconds(player.Track().LengthMs);
        if (length > 0 && target > length) {
            player.Next();
            return;
        }
        const std::int64_t end = length > 0 ? length : Microseconds(std::numeric_limits<std::uint32_t>::max());
        player.SeekToTime(static_cast<std::uint32_t>(std::clamp<std::int64_t>(target, 0, end) / 1000));
    });
    return Done(call);
}

// Jumps to a time of the track named; a stale track or a time outside it
// does nothing.
int SetPosition(sd_bus_message* call, void* userdata, sd_bus_error*)
{
    const char* track = nullptr;
    std::int64_t position = 0;
    if (const int result = sd_bus_message_read(call, "ox", &track, &position); result < 0)
        return result;
    TMprisServer& server = Server(userdata);
    const std::string named = track;
    server.Later([&server, named, position](TPlayer& player) {
        if (!player.IsLoaded() || named != server.TrackId() || position < 0 ||
            position > Microseconds(player.Track().LengthMs))
            return;
        player.SeekToTime(static_cast<std::uint32_t>(position / 1000));
    });
    return Done(call);
}

int OpenUri(sd_bus_message* call, void* userdata, sd_bus_error* error)
{
    const char* uri = nullptr;
    if (const int result = sd_bus_message_read(call, "s", &uri); result < 0)
        return result;
    const std::optional<std::string> path = PathOfFileUri(uri);
    if (!path)
        return sd_bus_error_setf(
            error, SD_BUS_ERROR_INVALID_ARGS, "Only file URIs on this machine can be opened: %s", uri);
    Server(userdata).Later([file = *path](TPlayer& player) { player.PlayFile(file); });
    return Done(call);
}

// Properties.

#define PROPERTY_GETTER(name)                                                                                          \
    int name(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata, sd_bus_error*)

PROPERTY_GETTER(True)
{
    (void)userdata;
    return sd_bus_message_append(reply, "b", 1);
}

PROPERTY_GETTER(False)
{
    (void)userdata;
    return sd_bus_message_append(reply, "b", 0);
}

PROPERTY_GETTER(One)
{
    (void)userdata;
    return sd_bus_message_append(reply, "d", 1.0);
}

PROPERTY_GETTER(LoopStatus)
{
    (void)userdata;
    return sd_bus_message_append(reply, "s", "Track");
}

PROPERTY_GETTER(Identity)
{
    return sd_bus_message_append(reply, "s", Server(userdata).Identity().Name.c_str());
}

PROPERTY_GETTER(DesktopEntry)
{
    return sd_bus_message_append(reply, "s", Server(userdata).Identity().DesktopEntry.c_str());
}

PROPERTY_GETTER(UriSchemes)
{
    (void)userdata;
    return sd_bus_message_append(reply, "as", 1, "file");
}

PROPERTY_GETTER(MimeTypes)
{
    int result = sd_bus_message_open_container(reply, 'a', "s");
    for (const std::string& type : Server(userdata).Identity().MimeTypes) {
        if (result >= 0)
            result = sd_bus_message_append(reply, "s", type.c_str());
    }
    return result < 0 ? result : sd_bus_message_close_container(reply);
}

PROPERTY_GETTER(PlaybackStatus)
{
    const TPlayer* player = Server(userdata).Player();
    const TPlaybackState state = player ? player->State() : TPlaybackState::Stopped;
    return sd_bus_message_append(reply, "s",
        state == TPlaybackState::Playing      ? "Playing"
            : state == TPlaybackState::Paused ? "Paused"
                                              : "Stopped");
}

PROPERTY_GETTER(Volume)
{
    const TPlayer* player = Server(userdata).Player();
    return sd_bus_message_append(reply, "d", player ? player->Volume() / 100.0 : 0.0);
}

PROPERTY_GETTER(Position)
{
    const TPlayer* player = Server(userdata).Player();
    return sd_bus_message_append(reply, "x", player ? Microseconds(player->PlayTime()) : std::int64_t{0});
}

PROPERTY_GETTER(CanSeek)
{
    const TPlayer* player = Server(userdata).Player();
    return sd_bus_message_append(reply, "b", player && player->IsLoaded() && player->Track().LengthMs > 0);
}

// One entry of the metadata map: a key and a value of one type.
template <typename... Value>
int Entry(sd_bus_message* reply, const char* key, const char* type, Value... value)
{
    int result = sd_bus_message_open_container(reply, 'e', "sv");
    if (result >= 0)
        result = sd_bus_message_append(reply, "s", key);
    if (result >= 0)
        result = sd_bus_message_open_container(reply, 'v', type);
    if (result >= 0)
        result = sd_bus_message_append(reply, type, value...);
    if (result >= 0)
        result = sd_bus_message_close_container(reply);
    return result < 0 ? result : sd_bus_message_close_container(reply);
}

PROPERTY_GETTER(Metadata)
{
    TMprisServer& server = Server(userdata);
    int result = sd_bus_message_open_container(reply, 'a', "{sv}");
    const std::string id = server.TrackId();
    if (result >= 0)
        result = Entry(reply, "mpris:trackid", "o", id.c_str());
    const TPlayer* player = server.Player();
    if (player && player->Track().Kind != TTrack::TKind::None) {
        const TTrack& track = player->Track();
        // Titles and composers are as their modules stored them, and a
        // title may be a file's name: in any encoding.
        const std::string title = ValidUtf8(track.Title);
        const std::string composer = ValidUtf8(track.Composer);
        if (result >= 0)
            result = Entry(reply, "xesam:title", "s", title.c_str());
        if (result >= 0 && !composer.empty())
            result = Entry(reply, "xesam:artist", "as", 1, composer.c_str());
        if (result >= 0 && track.Kind == TTrack::TKind::Song)
            result = Entry(reply, "xesam:album", "s", server.Identity().DiscTitle.c_str());
        if (result >= 0 && track.LengthMs > 0)
            result = Entry(reply, "mpris:length", "x", Microseconds(track.LengthMs));
        const std::string url = FileUriOf(track.Path);
        if (result >= 0)
            result = Entry(reply, "xesam:url", "s", url.c_str());
    }
    return result < 0 ? result : sd_bus_message_close_container(reply);
}

// Every song of the disc loops, and so does every file it plays.
int SetLoopStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* value, void*, sd_bus_error* error)
{
    const char* status = nullptr;
    if (const int result = sd_bus_message_read(value, "s", &status); result < 0)
        return result;
    if (std::string_view(status) == "Track")
        return 0;
    return sd_bus_error_setf(error, SD_BUS_ERROR_NOT_SUPPORTED, "The disc plays every track in a loop");
}

int SetVolume(sd_bus*, const char*, const char*, const char*, sd_bus_message* value, void* userdata, sd_bus_error*)
{
    double volume = 0;
    if (const int result = sd_bus_message_read(value, "d", &volume); result < 0)
        return result;
    if (!std::isfinite(volume))
        volume = 0;
    const int percent = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    Server(userdata).Later([percent](TPlayer& player) { player.SetVolume(percent); });
    return 0;
}

constexpr auto method = SD_BUS_VTABLE_UNPRIVILEGED;
constexpr auto changing = SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE;
constexpr auto constant = SD_BUS_VTABLE_PROPERTY_CONST;

const sd_bus_vtable rootTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Raise", "", "", Raise, method),
    SD_BUS_METHOD("Quit", "", "", Quit, method),
    SD_BUS_PROPERTY("CanQuit", "b", True, 0, constant),
    SD_BUS_PROPERTY("CanRaise", "b", True, 0, constant),
    SD_BUS_PROPERTY("HasTrackList", "b", False, 0, constant),
    SD_BUS_PROPERTY("Identity", "s", Identity, 0, constant),
    SD_BUS_PROPERTY("DesktopEntry", "s", DesktopEntry, 0, constant),
    SD_BUS_PROPERTY("SupportedUriSchemes", "as", UriSchemes, 0, constant),
    SD_BUS_PROPERTY("SupportedMimeTypes", "as", MimeTypes, 0, constant),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable playerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Next", "", "", PlayerCommand<&TPlayer::Next>, method),
    SD_BUS_METHOD("Previous", "", "", PlayerCommand<&TPlayer::Previous>, method),
    SD_BUS_METHOD("Pause", "", "", PlayerCommand<&TPlayer::Pause>, method),
    SD_BUS_METHOD("PlayPause", "", "", PlayerCommand<&TPlayer::PlayPause>, method),
    SD_BUS_METHOD("Stop", "", "", PlayerCommand<&TPlayer::Stop>, method),
    SD_BUS_METHOD("Play", "", "", PlayerCommand<&TPlayer::Play>, method),
    SD_BUS_METHOD("Seek", "x", "", Seek, method),
    SD_BUS_METHOD("SetPosition", "ox", "", SetPosition, method),
    SD_BUS_METHOD("OpenUri", "s", "", OpenUri, method),
    SD_BUS_SIGNAL("Seeked", "x", 0),
    SD_BUS_PROPERTY("PlaybackStatus", "s", PlaybackStatus, 0, changing),
    SD_BUS_PROPERTY("Rate", "d", One, 0, constant),
    SD_BUS_WRITABLE_PROPERTY("LoopStatus", "s", LoopStatus, SetLoopStatus, 0, changing | method),
    SD_BUS_PROPERTY("Metadata", "a{sv}", Metadata, 0, changing),
    SD_BUS_WRITABLE_PROPERTY("Volume", "d", Volume, SetVolume, 0, changing | method),
    SD_BUS_PROPERTY("Position", "x", Position, 0, 0),
    SD_BUS_PROPERTY("MinimumRate", "d", One, 0, constant),
    SD_BUS_PROPERTY("MaximumRate", "d", One, 0, constant),
    SD_BUS_PROPERTY("CanGoNext", "b", True, 0, constant),
    SD_BUS_PROPERTY("CanGoPrevious", "b", True, 0, constant),
    SD_BUS_PROPERTY("CanPlay", "b", True, 0, constant),
    SD_BUS_PROPERTY("CanPause", "b", True, 0, constant),
    SD_BUS_PROPERTY("CanSeek", "b", CanSeek, 0, changing),
    SD_BUS_PROPERTY("CanControl", "b", True, 0, constant),
    SD_BUS_VTABLE_END,
};

} // namespace

TMprisServer::TMprisServer(std::shared_ptr<TSessionBus> bus, TPlayer& player, TMprisIdentity identity,
    std::function<void()> raise, std::function<void()> quit)
    : bus_(std::move(bus)), player_(&player), identity_(std::move(identity)), raise_(std::move(raise)),
      quit_(std::move(quit)), self_(std::make_shared<TMprisServer*>(this))
{
    sd_bus_add_object_vtable(bus_->Handle(), &rootSlot_, ObjectPath, RootInterface, rootTable, this);
    sd_bus_add_object_vtable(bus_->Handle(), &playerSlot_, ObjectPath, PlayerInterface, playerTable, this);
    player_->AddListener(*this);
}

TMprisServer::~TMprisServer()
{
    if (player_)
        player_->RemoveListener(*this);
    sd_bus_slot_unref(playerSlot_);
    sd_bus_slot_unref(rootSlot_);
}

void TMprisServer::Later(std::function<void(TPlayer&)> command)
{
    Application().Post([server = std::weak_ptr<TMprisServer*>(self_), command = std::move(command)] {
        const std::shared_ptr<TMprisServer*> alive = server.lock();
        if (alive && (*alive)->player_)
            command(*(*alive)->player_);
    });
}

std::string TMprisServer::TrackId() const
{
    if (!player_ || player_->Track().Kind == TTrack::TKind::None)
        return noTrack;
    return trackPrefix + std::to_string(player_->Track().Serial);
}

void TMprisServer::Changed(std::initializer_list<const char*> properties)
{
    if (!bus_->Connected())
        return;
    std::vector<char*> names;
    for (const char* property : properties)
        names.push_back(const_cast<char*>(property));
    names.push_back(nullptr);
    sd_bus_emit_properties_changed_strv(bus_->Handle(), ObjectPath, PlayerInterface, names.data());
    bus_->Kick();
}

void TMprisServer::TrackChanged(const TTrack&)
{
    Changed({"Metadata", "CanSeek"});
}

void TMprisServer::StateChanged(TPlaybackState)
{
    Changed({"PlaybackStatus", "CanSeek"});
}

void TMprisServer::VolumeChanged(int)
{
    Changed({"Volume"});
}

void TMprisServer::Seeked(std::uint32_t milliseconds)
{
    if (!bus_->Connected())
        return;
    sd_bus_emit_signal(bus_->Handle(), ObjectPath, PlayerInterface, "Seeked", "x", Microseconds(milliseconds));
    bus_->Kick();
}

void TMprisServer::PlayerGone()
{
    player_ = nullptr;
}
