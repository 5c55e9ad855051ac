#include "engine/ModulePlayer.h"
#include "engine/Errors.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <memory>
#include <system_error>

#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace velmora::engine {
namespace {

// The largest modules in circulation hold a few dozen MiB of samples; a file
// far beyond that is refused before it is read.
constexpr std::uintmax_t largestModuleBytes = std::uintmax_t{256} << 20;

std::string SizeText(std::uintmax_t bytes)
{
    char text[32];
    if (bytes >= (std::uintmax_t{1} << 30))
        std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1u << 30));
    else
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1u << 20));
    return text;
}

// A module file opened for reading: a seekable stream over its descriptor.
class ModuleFile {
public:
    explicit ModuleFile(int descriptor) : buffer_(descriptor, std::ios::in), stream_(&buffer_) { }
    std::istream& Stream() { return stream_; }

private:
    __gnu_cxx::stdio_filebuf<char> buffer_; // closes the descriptor
    std::istream stream_;
};

// The file at path, opened once and checked to be one that can hold a
// module through what was opened, so nothing can be swapped in between. The
// open doesn't wait: a FIFO or a device in its place must not block the
// window, and is refused below.
std::unique_ptr<ModuleFile> OpenModuleFile(const std::string& path)
{
    const auto fail = [&](ErrorCode code, const std::string& reason) {
        return EngineError(code, "Unable to load module " + path + ": " + reason);
    };
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        throw fail(ErrorCode::FileOpen, std::string("the file can't be opened: ") + std::strerror(errno));
    auto file = std::make_unique<ModuleFile>(descriptor);
    struct stat status { };
    if (::fstat(descriptor, &status) != 0)
        throw fail(ErrorCode::FileOpen, std::string("the file can't be read: ") + std::strerror(errno));
    if (S_ISDIR(status.st_mode))
        throw fail(ErrorCode::FileOpen, "the file can't be read: " + std::generic_category().message(EISDIR));
    if (!S_ISREG(status.st_mode))
        throw fail(ErrorCode::FileOpen, "the file can't be read: it is no regular file");
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size == 0)
        throw fail(ErrorCode::BadModule, "the file is empty");
    if (size > largestModuleBytes)
        throw fail(ErrorCode::BadModule,
            "the file holds " + SizeText(size) + ", more than any module (at most " + SizeText(largestModuleBytes) +
                ")");
    return file;
}

} // namespace

ModulePlayer::ModulePlayer(std::unique_ptr<openmpt::module> module) : module_(std::move(module))
{
}

ModulePlayer::~ModulePlayer() = default;

std::unique_ptr<ModulePlayer> ModulePlayer::Load(const std::string& path)
{
    const std::unique_ptr<ModuleFile> file = OpenModuleFile(path);
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
    return static_cast<std::uint32_t>(std::max(0.0, module_->get_position_seconds()) * 1000.0 + 0.5);
}

void ModulePlayer::JumpToOrder(int order)
{
    const int last = std::max(0, info_.orderCount - 1);
    module_->set_position_order_row(std::clamp(order, 0, last), 0);
}

void ModulePlayer::JumpToTime(std::uint32_t milliseconds)
{
    module_->set_position_seconds(milliseconds / 1000.0);
}

} // namespace velmora::engine
