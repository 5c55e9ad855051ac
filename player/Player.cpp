#include "player/Player.h"

#include "toolkit/graphics/Utf8Path.h"
#include "toolkit/windowing/Application.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>

namespace {

// How long the program waits, as it ends, for a sound thread held up in
// the engine before it ends without it.
constexpr std::chrono::seconds soundEndsWithin{1};

std::string FileNameOf(const std::string& path)
{
    return Utf8Of(PathOf(path).filename());
}

} // namespace

TPlayer::TPlayer(TComponent* owner, std::string songDir, std::string settingsDir, const TMidasApi& engine)
    : TComponent(owner), songDir_(std::move(songDir)), settingsFile_(settingsDir),
      settings_(settingsFile_.Read()), self_(std::make_shared<TPlayer*>(this))
{
    // How the sound server lists the disc; set here, on the program's
    // thread, before the sound thread starts (it sets SDL's hints).
    engine.MIDASsetOutputName("Velmora", "Velmora");
    // News comes on the sound thread and is taken in on the message loop's.
    auto post = [player = std::weak_ptr<TPlayer*>(self_)](TSoundNews news) {
        Application().Post([player, news = std::move(news)] {
            if (const std::shared_ptr<TPlayer*> alive = player.lock())
                (*alive)->Hear(news);
        });
    };
    sound_ = std::make_unique<TSoundSide>(std::move(post), engine);
}

TPlayer::~TPlayer()
{
    // Sound.opt first: whatever the sound is doing, the settings are kept.
    try {
        KeepSettings();
    } catch (...) {
        // Without a window to show it in, it goes unmentioned: this is a
        // destructor.
    }
    sound_->Finish(soundEndsWithin);
    self_.reset();
    const std::vector<TPlayerListener*> listeners = listeners_;
    for (TPlayerListener* listener : listeners)
        listener->PlayerGone();
}

void TPlayer::KeepSettings()
{
    try {
        settingsFile_.Write(settings_);
    } catch (const std::exception& error) {
        // The user learns the settings weren't kept.
        TellFailure(error.what(), false);
    }
}

void TPlayer::AddListener(TPlayerListener& listener)
{
    listeners_.push_back(&listener);
}

void TPlayer::RemoveListener(TPlayerListener& listener)
{
    std::erase(listeners_, &listener);
}

template <typename Call>
void TPlayer::Tell(Call call)
{
    // A listener may add or remove listeners while it is told.
    const std::vector<TPlayerListener*> listeners = listeners_;
    for (TPlayerListener* listener : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            call(*listener);
    }
}

void TPlayer::TellFailure(const std::string& message, bool engineFailure)
{
    Tell([&](TPlayerListener& listener) { listener.Failed(message, engineFailure); });
}

void TPlayer::Start()
{
    sound_->Start(settings_);
}

void TPlayer::Settle()
{
    sound_->WaitIdle();
    Application().ProcessMessages();
}

std::string TPlayer::SongPath(int song) const
{
    return songDir_ + "song" + std::to_string(song) + ".xm";
}

void TPlayer::PlaySong(int song)
{
    if (ending_ || song < 1 || song > SongCount)
        return;
    Load(TTrack::TKind::Song, song, SongPath(song));
}

void TPlayer::PlayFile(const std::string& path)
{
    if (ending_)
        return;
    Load(TTrack::TKind::File, 0, path);
}

void TPlayer::Load(TTrack::TKind kind, int song, const std::string& path)
{
    TTrack track;
    track.Kind = kind;
    track.Song = song;
    track.Path = path;
    track.Title = FileNameOf(path);
    track.Serial = ++serial_;
    choice_ = {track.Serial, state_, lastPlayed_, std::nullopt};
    track_ = track;
    lastPlayed_ = track;
    state_ = TPlaybackState::Playing;
    seeksUnheard_ = 0;
    sound_->Play(track.Serial, path);
    Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
    Tell([&](TPlayerListener& listener) { listener.StateChanged(state_); });
}

void TPlayer::Complete(TTrack& track, const TModuleDetails& details) const
{
    track.Title = details.Title.empty() ? FileNameOf(track.Path) : details.Title;
    track.Composer = details.Artist;
    // The disc's songs are XM, which keeps no composer: they carry their
    // composer's credit as their last instrument's name.
    if (track.Composer.empty() && track.Kind == TTrack::TKind::Song)
        track.Composer = details.LastInstrument;
    track.LastOrder = details.LastOrder;
    track.LengthMs = details.DurationMs;
}

void TPlayer::Hear(const TSoundNews& news)
{
    using TKind = TSoundNews::TKind;
    const bool current = news.Serial != 0 && news.Serial == track_.Serial;
    switch (news.Kind) {
    case TKind::Loaded:
        if (!current)
            return; // a newer choice follows it
        Complete(track_, news.Details);
        playing_ = track_;
        lastPlayed_ = track_;
        Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
        return;
    case TKind::Refused:
        if (current) {
            // What played goes on, as the commands since left it.
            track_ = playing_;
            lastPlayed_ = choice_.LastPlayedBefore;
            const bool paused = choice_.PausedSince.value_or(choice_.StateBefore == TPlaybackState::Paused);
            state_ = playing_.Kind == TTrack::TKind::None || choice_.StateBefore == TPlaybackState::Stopped
                ? TPlaybackState::Stopped
                : paused ? TPlaybackState::Paused
                         : TPlaybackState::Playing;
            Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
            Tell([&](TPlayerListener& listener) { listener.StateChanged(state_); });
        }
        TellFailure(news.Message, true);
        return;
    case TKind::Reloaded:
        if (current) {
            // The file was read anew: what it tells may have changed
            // meanwhile, and whoever shows it hears so.
            const TTrack before = track_;
            Complete(track_, news.Details);
            playing_ = track_;
            if (track_.Title != before.Title || track_.Composer != before.Composer ||
                track_.LastOrder != before.LastOrder || track_.LengthMs != before.LengthMs)
                Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
        }
        return;
    case TKind::Lost:
        // The file could not be loaded again: nothing is.
        track_ = TTrack{};
        track_.Serial = ++serial_;
        playing_ = TTrack{};
        state_ = TPlaybackState::Stopped;
        Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
        Tell([&](TPlayerListener& listener) { listener.StateChanged(state_); });
        TellFailure(news.Message, true);
        return;
    case TKind::Seeked: {
        if (!current)
            return;
        if (seeksUnheard_ > 0)
            --seeksUnheard_;
        const std::uint32_t time = track_.LengthMs > 0 ? std::min(news.TimeMs, track_.LengthMs) : news.TimeMs;
        Tell([&](TPlayerListener& listener) { listener.Seeked(time); });
        return;
    }
    case TKind::Failed:
        // The engine is closed; the program ends once the user has read why.
        ending_ = true;
        TellFailure(news.Message, true);
        Application().Halt(0);
    }
}

void TPlayer::SetState(TPlaybackState state)
{
    if (state == state_)
        return;
    state_ = state;
    Tell([&](TPlayerListener& listener) { listener.StateChanged(state_); });
}

void TPlayer::Stop()
{
    if (ending_)
        return;
    sound_->Stop();
    playing_ = TTrack{};
    SetState(TPlaybackState::Stopped);
}

void TPlayer::Pause()
{
    if (ending_ || state_ != TPlaybackState::Playing)
        return;
    sound_->Pause(true);
    choice_.PausedSince = true;
    SetState(TPlaybackState::Paused);
}

void TPlayer::Resume()
{
    if (ending_ || state_ != TPlaybackState::Paused)
        return;
    sound_->Pause(false);
    choice_.PausedSince = false;
    SetState(TPlaybackState::Playing);
}

void TPlayer::Play()
{
    switch (state_) {
    case TPlaybackState::Playing: return;
    case TPlaybackState::Paused: Resume(); return;
    case TPlaybackState::Stopped: break;
    }
    if (lastPlayed_.Kind == TTrack::TKind::File) {
        const std::string path = lastPlayed_.Path; // loading replaces it
        PlayFile(path);
    } else
        PlaySong(lastPlayed_.Kind == TTrack::TKind::Song ? lastPlayed_.Song : 1);
}

void TPlayer::PlayPause()
{
    if (state_ == TPlaybackState::Playing)
        Pause();
    else
        Play();
}

void TPlayer::Next()
{
    PlaySong(track_.Kind == TTrack::TKind::Song ? track_.Song % SongCount + 1 : 1);
}

void TPlayer::Previous()
{
    PlaySong(track_.Kind == TTrack::TKind::Song ? (track_.Song + SongCount - 2) % SongCount + 1 : SongCount);
}

void TPlayer::SeekToOrder(std::int32_t order)
{
    if (ending_ || !IsLoaded())
        return;
    seekOrder_ = track_.LastOrder >= 0 ? std::clamp(order, 0, track_.LastOrder) : std::max(0, order);
    ++seeksUnheard_;
    sound_->SeekToOrder(order);
}

void TPlayer::SeekToTime(std::uint32_t milliseconds)
{
    if (ending_ || !IsLoaded())
        return;
    seekOrder_ = -1;
    ++seeksUnheard_;
    sound_->SeekToTime(milliseconds);
}

void TPlayer::SetVolume(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (ending_ || percent == Volume())
        return;
    settings_.Volume = percent;
    sound_->SetVolume(percent);
    if (percent > 0)
        volumeBeforeMute_ = 0;
    Tell([&](TPlayerListener& listener) { listener.VolumeChanged(percent); });
}

void TPlayer::ChangeVolume(int difference)
{
    SetVolume(Volume() + difference);
}

void TPlayer::ToggleMute()
{
    if (Volume() > 0) {
        const int before = Volume();
        SetVolume(0);
        volumeBeforeMute_ = before;
    } else {
        SetVolume(volumeBeforeMute_ > 0 ? volumeBeforeMute_ : 100);
    }
}

void TPlayer::ApplySettings(const TSoundSettings& settings)
{
    if (ending_)
        return;
    const int volume = settings_.Volume;
    settings_ = settings;
    settings_.Volume = volume;
    sound_->ApplySettings(settings_);
}

THeard TPlayer::Heard() const
{
    return sound_->Heard();
}

std::function<THeard()> TPlayer::HeardReader() const
{
    return sound_->HeardReader();
}

std::int32_t TPlayer::Position() const
{
    if (!IsLoaded())
        return -1;
    if (seeksUnheard_ > 0 && seekOrder_ >= 0)
        return seekOrder_;
    const THeard heard = sound_->Heard();
    return heard.Serial == track_.Serial ? std::max(0, heard.Order) : 0;
}

std::uint32_t TPlayer::PlayTime() const
{
    if (!IsLoaded())
        return 0;
    const THeard heard = sound_->Heard();
    if (heard.Serial != track_.Serial)
        return 0;
    // Heard in whole device buffers, the time may run a little past the
    // end before it goes round.
    return track_.LengthMs > 0 ? std::min(heard.TimeMs, track_.LengthMs) : heard.TimeMs;
}
