// The browser's own box: SDL shows it with alert(), which holds the page until it is answered.
#include "platform/sdl/message_box.h"

#include <SDL.h>

void ShowWarningBox(const char* caption, const char* text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}
