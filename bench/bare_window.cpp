// The least a program can do to show a window of the disc's size with SDL:
// the reference for how fast a window can appear on this machine.

#include <SDL2/SDL.h>

int main(int, char**)
{
    // A window surface of its own, as the toolkit asks for, rather than a
    // renderer that recreates the window for OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_Window* window =
        SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 370, 214, SDL_WINDOW_BORDERLESS);
    if (!window)
        return 1;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    SDL_FillRect(surface, nullptr, 0);
    SDL_UpdateWindowSurface(window);
    SDL_Event event;
    while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) { }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
