// The least a program can do to play song 1 in a window of the disc's size:
// a bare SDL window, and libopenmpt decoding straight from SDL's audio
// callback, 16-bit stereo at 22050 Hz, 1024 frames a buffer. The anchor the
// disc's CPU and memory while playing are measured against.
//
//   minimal_player MODULE

#include <SDL2/SDL.h>
#include <libopenmpt/libopenmpt.hpp>

#include <fstream>
#include <memory>

namespace {

constexpr int rate = 22050; // Hz

void SDLCALL Decode(void* module, Uint8* stream, int bytes)
{
    const auto frames = static_cast<std::size_t>(bytes) / 4;
    static_cast<openmpt::module*>(module)->read_interleaved_stereo(
        rate, frames, reinterpret_cast<std::int16_t*>(stream));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::ifstream file(argv[1], std::ios::binary);
    auto module = std::make_unique<openmpt::module>(file);
    module->set_repeat_count(-1);

    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0)
        return 1;
    SDL_Window* window =
        SDL_CreateWindow("minimal", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 370, 214, SDL_WINDOW_BORDERLESS);
    if (!window)
        return 1;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    SDL_FillRect(surface, nullptr, 0);
    SDL_UpdateWindowSurface(window);

    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = Decode;
    wanted.userdata = module.get();
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0)
        return 1;
    SDL_PauseAudioDevice(device, 0);

    SDL_Event event;
    while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) { }
    SDL_CloseAudioDevice(device);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
