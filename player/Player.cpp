#include "player/Player.h"

#include "sound/MidasSoundClass.h"

#include <algorithm>
#include <filesystem>

namespace {

// How often a playing song is looked at for having gone round its loop.
constexpr unsigned loopWatchMs = 250;

std::string FileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

} // namespace

TPlayer::TPlayer(TComponent* owner, std::string songDir, std::string settingsDir, const TMidasApi& engine)
    : TComponent(owner), songDir_(std::move(songDir)), settingsDir_(std::move(settingsDir)), engine_(engine)
{
    // Reports of a file that can't be played wait until the command is
    // done, so that whoever shows them finds the player settled; a fatal
    // one is told at once, since the program ends right after it.
    auto report = [this](const TSoundFailure& failure) {
        pendingFailures_.push_back(failure);
        if (failure.Fatal) {
            ending_ = true;
            TellFailures();
        }
    };
    sound_ = TComponent::Create<TMidasSound>(this, settingsDir_, report, engine_);
    loopWatch_ = TComponent::Create<TTimer>(this);
    loopWatch_->SetInterval(loopWatchMs);
    loopWatch_->OnTimer = [this](TObject*) { WatchForLoop(); };
}

TPlayer::~TPlayer()
{
    // The sound goes first, storing the settings: what it reports on the way
    // is still heard.
    if (sound_) {
        sound_->Free();
        sound_ = nullptr;
    }
    TellFailures();
    const std::vector<TPlayerListener*> listeners = listeners_;
    for (TPlayerListener* listener : listeners)
        listener->PlayerGone();
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

void TPlayer::TellFailures()
{
    std::vector<TSoundFailure> failures;
    failures.swap(pendingFailures_);
    for (const TSoundFailure& failure : failures)
        Tell([&](TPlayerListener& listener) {
            listener.Failed(failure.Message, failure.Kind == TSoundFailure::TKind::Engine);
        });
}

void TPlayer::Start()
{
    sound_->Start();
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
    TellFailures();
}

void TPlayer::PlayFile(const std::string& path)
{
    if (ending_)
        return;
    Load(TTrack::TKind::File, 0, path);
    TellFailures();
}

bool TPlayer::Load(TTrack::TKind kind, int song, const std::string& path)
{
    // A file the engine refuses was reported; what played goes on.
    if (!sound_->PlayFile(path))
        return false;
    TTrack track;
    track.Kind = kind;
    track.Song = song;
    track.Path = path;
    ReadTrackDetails(track);
    lastPlayed_ = track;
    track.Serial = ++serial_;
    track_ = track;
    state_ = TPlaybackState::Playing;
    watchedMs_ = 0;
    Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
    Tell([&](TPlayerListener& listener) { listener.StateChanged(state_); });
    return true;
}

void TPlayer::ReadTrackDetails(TTrack& track)
{
    const TModuleDetails details = sound_->GetDetails();
    track.Title = details.Title.empty() ? FileNameOf(track.Path) : details.Title;
    track.Composer = details.Artist;
    // The disc's songs are XM, which keeps no composer: they carry their
    // composer's credit as their last instrument's name.
    if (track.Composer.empty() && track.Kind == TTrack::TKind::Song) {
        const std::vector<std::string> names = sound_->GetInstrumentNames();
        if (!names.empty())
            track.Composer = names.back();
    }
    track.LastOrder = sound_->GetSongLength();
    track.LengthMs = details.DurationMs;
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
    SetState(TPlaybackState::Stopped);
    TellFailures();
}

void TPlayer::Pause()
{
    if (ending_ || state_ != TPlaybackState::Playing)
        return;
    sound_->Pause(true);
    SetState(TPlaybackState::Paused);
}

void TPlayer::Resume()
{
    if (ending_ || state_ != TPlaybackState::Paused)
        return;
    sound_->Pause(false);
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
    sound_->SetPosition(order);
    const std::uint32_t time = PlayTime();
    watchedMs_ = time;
    Tell([&](TPlayerListener& listener) { listener.Seeked(time); });
}

void TPlayer::SeekToTime(std::uint32_t milliseconds)
{
    if (ending_ || !IsLoaded())
        return;
    sound_->SetPlayTime(milliseconds);
    const std::uint32_t time = PlayTime();
    watchedMs_ = time;
    Tell([&](TPlayerListener& listener) { listener.Seeked(time); });
}

int TPlayer::Volume() const
{
    return sound_->GetVolume();
}

void TPlayer::SetVolume(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (ending_ || percent == Volume())
        return;
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
    const bool wasLoaded = IsLoaded();
    sound_->ApplySettings(settings.MixRate, settings.Stereo, settings.Bits16, settings.FilterMode);
    if (wasLoaded && sound_->IsPlaying()) {
        // The file was read anew: what it tells may have changed meanwhile,
        // and whoever shows it hears so.
        const TTrack before = track_;
        ReadTrackDetails(track_);
        watchedMs_ = PlayTime();
        if (track_.Title != before.Title || track_.Composer != before.Composer ||
            track_.LastOrder != before.LastOrder || track_.LengthMs != before.LengthMs)
            Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
    } else if (wasLoaded) {
        // The file could not be loaded again: nothing is.
        track_ = TTrack{};
        track_.Serial = ++serial_;
        state_ = TPlaybackState::Stopped;
        Tell([&](TPlayerListener& listener) { listener.TrackChanged(track_); });
        Tell([&](TPlayerListener& listener) { listener.StateChanged(state_); });
    }
    TellFailures();
}

std::int32_t TPlayer::Position() const
{
    return IsLoaded() ? sound_->GetPosition() : -1;
}

std::uint32_t TPlayer::PlayTime() const
{
    if (!IsLoaded())
        return 0;
    // Heard in whole device buffers, the time may run a little past the
    // end before it goes round.
    const std::uint32_t heard = sound_->GetPlayTime();
    return track_.LengthMs > 0 ? std::min(heard, track_.LengthMs) : heard;
}

void TPlayer::WatchForLoop()
{
    if (ending_ || state_ != TPlaybackState::Playing)
        return;
    const std::uint32_t time = PlayTime();
    // Time heard never runs backwards but for a jump, and this one no
    // command made.
    const bool wentRound = time < watchedMs_;
    watchedMs_ = time;
    if (wentRound)
        Tell([&](TPlayerListener& listener) { listener.Seeked(time); });
}

TSoundSettings TPlayer::Settings() const
{
    TSoundSettings settings;
    sound_->GetSettings(settings.MixRate, settings.Stereo, settings.Bits16, settings.FilterMode);
    settings.Volume = Volume();
    return settings;
}
