#include "engine/ModulePlayer.h"
#include "engine/Errors.h"
#include "engine/ModuleFile.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <istream>
#include <memory>

namespace velmora::engine {

ModulePlayer::ModulePlayer(std::unique_ptr<openmpt::module> module) : module_(std::move(module))
{
}

ModulePlayer::~ModulePlayer() = default;

std::unique_ptr<ModulePlayer> ModulePlayer::Load(const std::string& path, int rateHz)
{
    const std::unique_ptr<ModuleFile> file = ModuleFile::Open(path);
    auto player = std::unique_ptr<ModulePlayer>(new ModulePlayer(nullptr));
    try {
        // From a seekable stream the decoder reads only what it keeps, so the
        // file is never held twice.
        player->module_ = std::make_unique<openmpt::module>(file->Stream(), player->silentLog_);
    } catch (const openmpt::exception&) {
        throw EngineError(
            ErrorCode::BadModule, "Unable to load module " + path + ": not a module file the engine recognises");
    }
    // The filter mode alone decides how smooth the output is: Amiga modules
    // would otherwise take their own resampler, and 16-bit output its dither.
    try {
        player->module_->ctl_set_boolean("render.resampler.emulate_amiga", false);
        player->module_->ctl_set_integer("dither", 0);
        // A seek into the middle of a note plays the note from there on,
        // rather than silence until the next one is struck.
        player->module_->ctl_set_boolean("seek.sync_samples", true);
    } catch (const openmpt::exception&) {
        // An older decoder without these controls plays with its defaults.
    }
    player->ReadInfo();
    player->FindLoopStart(rateHz);
    return player;
}

void ModulePlayer::ReadInfo()
{
    info_.name = module_->get_metadata("title");
    info_.artist = module_->get_metadata("artist");
    info_.durationMs = static_cast<std::uint32_t>(std::max(0.0, module_->get_duration_seconds()) * 1000.0);
    info_.orderCount = module_->get_num_orders();
    info_.patternCount = module_->get_num_patterns();
    info_.instrumentCount = module_->get_num_instruments();
    info_.instrumentNames = module_->get_instrument_names();
    if (info_.instrumentCount == 0) {
        info_.instrumentCount = module_->get_num_samples();
        info_.instrumentNames = module_->get_sample_names();
    }
    info_.channelCount = module_->get_num_channels();
    durationSeconds_ = std::max(0.0, module_->get_duration_seconds());
}

void ModulePlayer::FindLoopStart(int rateHz)
{
    // libopenmpt tells where a song ends, not where its loop goes on from.
    // Played unheard through its last moment and told to halt at the end,
    // it stands on the row the loop goes on from, and a seek to that row
    // tells its time. Start() takes the song back to its beginning. It is
    // played at the output's rate: libopenmpt counts its times in frames
    // of the rate it last played at.
    constexpr std::size_t blockFrames = 1024;
    const int mostBlocks = 60 * rateHz / static_cast<int>(blockFrames); // a minute
    try {
        const std::string atEnd = module_->ctl_get_text("play.at_end");
        module_->set_repeat_count(0);
        module_->ctl_set_text("play.at_end", "continue");
        module_->set_position_seconds(std::max(0.0, durationSeconds_ - 0.5));
        std::array<float, blockFrames> scratch{};
        for (int block = 0; block < mostBlocks; ++block) {
            if (module_->read(rateHz, blockFrames, scratch.data()) < blockFrames)
                break;
        }
        const double loopStart =
            module_->set_position_order_row(module_->get_current_order(), module_->get_current_row());
        if (loopStart >= 0 && loopStart < durationSeconds_)
            loopStartSeconds_ = loopStart;
        module_->ctl_set_text("play.at_end", atEnd);
    } catch (const openmpt::exception&) {
        // An older decoder without these controls: a loop is taken to go
        // on from the song's start.
    }
}

void ModulePlayer::Start(bool loop, int interpolationTaps)
{
    module_->set_repeat_count(loop ? -1 : 0);
    module_->set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, interpolationTaps);
    module_->set_position_order_row(0, 0);
}

std::size_t ModulePlayer::Render(int rateHz, int channels, std::size_t frames, float* interleaved)
{
    if (channels == 1)
        return module_->read(rateHz, frames, interleaved);
    return module_->read_interleaved_stereo(rateHz, frames, interleaved);
}

std::size_t ModulePlayer::Render(int rateHz, int channels, std::size_t frames, std::int16_t* interleaved)
{
    if (channels == 1)
        return module_->read(rateHz, frames, interleaved);
    return module_->read_interleaved_stereo(rateHz, frames, interleaved);
}

int ModulePlayer::CurrentOrder() const
{
    return module_->get_current_order();
}

std::uint32_t ModulePlayer::TimeMs() const
{
    double seconds = std::max(0.0, module_->get_position_seconds());
    // libopenmpt counts the play time on across the song's loop: each pass
    // round the loop is folded back onto the song's own times.
    if (seconds > durationSeconds_ && durationSeconds_ > loopStartSeconds_)
        seconds = loopStartSeconds_ + std::fmod(seconds - durationSeconds_, durationSeconds_ - loopStartSeconds_);
    return static_cast<std::uint32_t>(seconds * 1000.0 + 0.5);
}

void ModulePlayer::JumpToOrder(int order)
{
    const int last = std::max(0, info_.orderCount - 1);
    module_->set_position_order_row(std::clamp(order, 0, last), 0);
}

void ModulePlayer::JumpToTime(std::uint32_t milliseconds, int rateHz)
{
    // libopenmpt goes to the first row that starts at that time or after
    // it. Play goes on from the row before, played through unheard up to
    // the very time, rather than up to a row's length after it.
    const double wanted = milliseconds / 1000.0;
    double reached = module_->set_position_seconds(wanted);
    // A row that starts within the millisecond the time was rounded to is
    // where the time meant.
    constexpr double roundedTo = 0.001;
    if (reached > wanted + roundedTo) {
        const double before = StepBackOneRow();
        if (before >= 0 && before <= wanted)
            reached = before;
        else
            reached = module_->set_position_seconds(wanted); // a jump led there: as near as it goes
    }
    auto skip = static_cast<std::size_t>(std::max(0.0, wanted - reached) * rateHz + 0.5);
    std::array<float, 1024> scratch{};
    while (skip > 0) {
        const std::size_t frames = std::min(skip, scratch.size());
        if (module_->read(rateHz, frames, scratch.data()) < frames)
            break;
        skip -= frames;
    }
}

double ModulePlayer::StepBackOneRow()
{
    const int order = module_->get_current_order();
    const int row = module_->get_current_row();
    if (row > 0)
        return module_->set_position_order_row(order, row - 1);
    if (order == 0)
        return -1;
    const int rows = module_->get_pattern_num_rows(module_->get_order_pattern(order - 1));
    return module_->set_position_order_row(order - 1, std::max(0, rows - 1));
}

} // namespace velmora::engine
