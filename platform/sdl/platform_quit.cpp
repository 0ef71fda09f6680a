#include "platform/sdl/platform_quit.h"

#include <SDL.h>

void PlatformQuit() { SDL_Quit(); }
