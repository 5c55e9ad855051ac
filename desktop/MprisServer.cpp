#include "desktop/MprisServer.h"

#include "desktop/FileUri.h"
#include "desktop/SessionBus.h"
#include "desktop/Utf8.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Timer.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string_view>
#include <vector>

namespace {

constexpr const char* noTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
constexpr const char* trackPrefix = "/org/velmora/Velmora/Track/";
// Of an address shown to the user or the caller, so much at most.
constexpr std::size_t shownUriBytes = 200;

TMprisServer& Server(void* userdata)
{
    return *static_cast<TMprisServer*>(userdata);
}

std::int64_t Microseconds(std::uint32_t milliseconds)
{
    return static_cast<std::int64_t>(milliseconds) * 1000;
}

// An address as the user may read it: its start, as valid text.
std::string Shown(std::string_view uri)
{
    if (uri.size() <= shownUriBytes)
        return ValidUtf8(uri);
    return ValidUtf8(uri.substr(0, shownUriBytes)) + "…";
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
    server.Later([&server, named = std::string(track), position](TPlayer& player) {
        if (!player.IsLoaded() || named != server.TrackId() || position < 0 ||
            position > Microseconds(player.Track().LengthMs))
            return;
        player.SeekToTime(static_cast<std::uint32_t>(position / 1000));
    });
    return Done(call);
}

// Plays the file a URI names, or refuses it at once: the caller gets the
// reason as an error, and the user a message on the loop.
int OpenUri(sd_bus_message* call, void* userdata, sd_bus_error* error)
{
    const char* uri = nullptr;
    if (const int result = sd_bus_message_read(call, "s", &uri); result < 0)
        return result;
    TMprisServer& server = Server(userdata);
    const std::string_view given = uri;
    const auto refuse = [&](const char* name, const std::string& reason) {
        server.Refused(reason);
        return sd_bus_error_set(error, name, reason.c_str());
    };
    if (given.size() > TMprisServer::LongestUri)
        return refuse(SD_BUS_ERROR_INVALID_ARGS,
            "An address of " + std::to_string(given.size()) + " bytes is longer than any file's path");
    const std::optional<std::string> path = PathOfFileUri(uri);
    if (!path)
        return refuse(SD_BUS_ERROR_INVALID_ARGS, "Only files on this machine can be opened: " + Shown(given));
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(*path, failure);
    if (failure || !std::filesystem::exists(status))
        return refuse(SD_BUS_ERROR_FILE_NOT_FOUND, "There is no file " + ValidUtf8(*path));
    if (!std::filesystem::is_regular_file(status))
        return refuse(SD_BUS_ERROR_INVALID_ARGS, "No module can be read from " + ValidUtf8(*path));
    server.Later([file = *path](TPlayer& player) { player.PlayFile(file); });
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
    const TPlaybackState state = Server(userdata).View().State;
    return sd_bus_message_append(reply, "s",
        state == TPlaybackState::Playing      ? "Playing"
            : state == TPlaybackState::Paused ? "Paused"
                                              : "Stopped");
}

PROPERTY_GETTER(Volume)
{
    return sd_bus_message_append(reply, "d", Server(userdata).View().Volume / 100.0);
}

PROPERTY_GETTER(Position)
{
    return sd_bus_message_append(reply, "x", Server(userdata).PositionUs());
}

PROPERTY_GETTER(CanSeek)
{
    const TMprisView view = Server(userdata).View();
    return sd_bus_message_append(reply, "b", view.State != TPlaybackState::Stopped && view.Track.LengthMs > 0);
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
    const TMprisView view = server.View();
    int result = sd_bus_message_open_container(reply, 'a', "{sv}");
    const std::string id = server.TrackId();
    if (result >= 0)
        result = Entry(reply, "mpris:trackid", "o", id.c_str());
    if (view.Track.Kind != TTrack::TKind::None) {
        const TTrack& track = view.Track;
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

TMprisServer::TMprisServer(std::shared_ptr<TSessionBus> bus, TPlayer& player, TMprisIdentity identity, THooks hooks)
    : bus_(std::move(bus)), player_(&player), identity_(std::move(identity)), hooks_(std::move(hooks)),
      heard_(player.HeardReader()), refusalTimer_(std::make_unique<TTimer>(nullptr)),
      self_(std::make_shared<TMprisServer*>(this))
{
    view_.State = player.State();
    view_.Track = player.Track();
    view_.Volume = player.Volume();
    refusalTimer_->SetEnabled(false);
    refusalTimer_->SetInterval(GatherRefusalsMs);
    refusalTimer_->OnTimer = [this](TObject*) { TellRefusals(); };
    sd_bus_add_object_vtable(bus_->Handle(), &rootSlot_, ObjectPath, RootInterface, rootTable, this);
    sd_bus_add_object_vtable(bus_->Handle(), &playerSlot_, ObjectPath, PlayerInterface, playerTable, this);
    player_->AddListener(*this);
}

TMprisServer::~TMprisServer()
{
    if (player_)
        player_->RemoveListener(*this);
    // Once the objects are off the bus, no handler runs with this server.
    bus_->RunAlone([this](sd_bus*) {
        sd_bus_slot_unref(playerSlot_);
        sd_bus_slot_unref(rootSlot_);
    });
}

bool TMprisServer::IsRefusal(const TSessionBus::TCallError& error)
{
    return error.Name == SD_BUS_ERROR_INVALID_ARGS || error.Name == SD_BUS_ERROR_FILE_NOT_FOUND;
}

TMprisView TMprisServer::View() const
{
    std::lock_guard lock(viewMutex_);
    return view_;
}

std::int64_t TMprisServer::PositionUs() const
{
    const TMprisView view = View();
    if (view.State == TPlaybackState::Stopped)
        return 0;
    const THeard heard = heard_();
    if (heard.Serial != view.Track.Serial)
        return 0;
    const std::uint32_t time = view.Track.LengthMs > 0 ? std::min(heard.TimeMs, view.Track.LengthMs) : heard.TimeMs;
    return Microseconds(time);
}

std::string TMprisServer::TrackId() const
{
    const TMprisView view = View();
    if (view.Track.Kind == TTrack::TKind::None)
        return noTrack;
    return trackPrefix + std::to_string(view.Track.Serial);
}

void TMprisServer::Later(std::function<void(TPlayer&)> command)
{
    Application().Post([server = std::weak_ptr<TMprisServer*>(self_), command = std::move(command)] {
        const std::shared_ptr<TMprisServer*> alive = server.lock();
        if (alive && (*alive)->player_)
            command(*(*alive)->player_);
    });
}

void TMprisServer::Raise()
{
    Later([this](TPlayer&) { hooks_.Raise(); });
}

void TMprisServer::Quit()
{
    Later([this](TPlayer&) { hooks_.Quit(); });
}

void TMprisServer::Refused(std::string reason)
{
    Application().Post([server = std::weak_ptr<TMprisServer*>(self_), reason = std::move(reason)] {
        const std::shared_ptr<TMprisServer*> alive = server.lock();
        if (!alive)
            return;
        TMprisServer& self = **alive;
        ++self.refusals_;
        self.lastRefusal_ = reason;
        // Told once the burst is over, and not while the user reads the
        // last message.
        if (!self.telling_) {
            self.refusalTimer_->SetEnabled(false);
            self.refusalTimer_->SetEnabled(true);
        }
    });
}

void TMprisServer::TellRefusals()
{
    refusalTimer_->SetEnabled(false);
    if (refusals_ == 0 || telling_)
        return;
    const std::string message = refusals_ == 1
        ? lastRefusal_
        : std::to_string(refusals_) + " files the desktop asked for could not be opened. The last: " + lastRefusal_;
    refusals_ = 0;
    telling_ = true;
    hooks_.Tell(message);
    telling_ = false;
    if (refusals_ > 0)
        refusalTimer_->SetEnabled(true);
}

void TMprisServer::Changed(std::vector<const char*> properties)
{
    properties.push_back(nullptr);
    bus_->Send([properties](sd_bus* bus) {
        sd_bus_emit_properties_changed_strv(bus, ObjectPath, PlayerInterface, const_cast<char**>(properties.data()));
    });
}

void TMprisServer::TrackChanged(const TTrack& track)
{
    {
        std::lock_guard lock(viewMutex_);
        view_.Track = track;
    }
    Changed({"Metadata", "CanSeek"});
}

void TMprisServer::StateChanged(TPlaybackState state)
{
    {
        std::lock_guard lock(viewMutex_);
        view_.State = state;
        if (player_)
            view_.Track = player_->Track();
    }
    Changed({"PlaybackStatus", "CanSeek"});
}

void TMprisServer::VolumeChanged(int volume)
{
    {
        std::lock_guard lock(viewMutex_);
        view_.Volume = volume;
    }
    Changed({"Volume"});
}

void TMprisServer::Seeked(std::uint32_t milliseconds)
{
    bus_->Send([position = Microseconds(milliseconds)](sd_bus* bus) {
        sd_bus_emit_signal(bus, ObjectPath, PlayerInterface, "Seeked", "x", position);
    });
}

void TMprisServer::PlayerGone()
{
    player_ = nullptr;
    std::lock_guard lock(viewMutex_);
    view_ = TMprisView{};
    view_.PlayerThere = false;
}
