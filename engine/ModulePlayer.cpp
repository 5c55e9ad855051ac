#include "engine/ModulePlayer.h"
#include "engine/Errors.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace velmora::engine {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    const auto fail = [&](const char* what, int error) {
        return EngineError(ErrorCode::FileOpen, "Unable to load module " + path + ": " + what + ": " + std::strerror(error));
    };
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw fail("the file can't be opened", errno);
    // The bytes are held while the decoder loads the module, the program's
    // peak of memory: room for exactly the file keeps a growing buffer from
    // doubling them.
    std::vector<std::uint8_t> bytes;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode))
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk)
            break;
    }
    if (std::ferror(file.get()))
        throw fail("the file can't be read", errno);
    return bytes;
}

} // namespace

ModulePlayer::ModulePlayer(std::unique_ptr<openmpt::module> module)
    : m_module(std::move(module))
{
}

ModulePlayer::~ModulePlayer() = default;

std::unique_ptr<ModulePlayer> ModulePlayer::Load(const std::string& path)
{
    const auto bytes = ReadFile(path);
    if (bytes.empty())
        throw EngineError(ErrorCode::BadModule, "Unable to load module " + path + ": the file is empty");
    auto player = std::unique_ptr<ModulePlayer>(new ModulePlayer(nullptr));
    try {
        player->m_module = std::make_unique<openmpt::module>(bytes, player->m_silentLog);
    } catch (const openmpt::exception&) {
        throw EngineError(ErrorCode::BadModule, "Unable to load module " + path + ": not a module file the engine recognises");
    }
    // The filter mode alone decides how smooth the output is: Amiga modules
    // would otherwise take their own resampler, and 16-bit output its dither.
    try {
        player->m_module->ctl_set_boolean("render.resampler.emulate_amiga", false);
        player->m_module->ctl_set_integer("dither", 0);
    } catch (const openmpt::exception&) {
        // An older decoder without these controls plays with its defaults.
    }
    return player;
}

ModuleInfo ModulePlayer::Info() const
{
    ModuleInfo info;
    info.name = m_module->get_metadata("title");
    info.orderCount = m_module->get_num_orders();
    info.patternCount = m_module->get_num_patterns();
    info.instrumentCount = m_module->get_num_instruments();
    if (info.instrumentCount == 0)
        info.instrumentCount = m_module->get_num_samples();
    info.channelCount = m_module->get_num_channels();
    return info;
}

void ModulePlayer::Start(bool loop, int interpolationTaps)
{
    m_module->set_repeat_count(loop ? -1 : 0);
    m_module->set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, interpolationTaps);
    m_module->set_position_order_row(0, 0);
}

std::size_t ModulePlayer::Render(int rateHz, int channels, std::size_t frames, float* interleaved)
{
    if (channels == 1)
        return m_module->read(rateHz, frames, interleaved);
    return m_module->read_interleaved_stereo(rateHz, frames, interleaved);
}

int ModulePlayer::CurrentOrder() const
{
    return m_module->get_current_order();
}

int ModulePlayer::JumpToOrder(int order)
{
    const int last = std::max(0, m_module->get_num_orders() - 1);
    order = std::clamp(order, 0, last);
    m_module->set_position_order_row(order, 0);
    return order;
}

} // namespace velmora::engine
