#include "platform/sdl/printed_key.h"

#include <SDL.h>

#include "platform/sdl/scancode_table.h"

uint8_t DikOfKeyEvent(int scancode, int32_t keycode) {
  // Where the layout says nothing about the key, its place is all there is.
  if (keycode == SDLK_UNKNOWN) return DikFromScancode(scancode);
  if (keycode >= SDLK_a && keycode <= SDLK_z) {
    return DikFromScancode(SDL_SCANCODE_A + (keycode - SDLK_a));
  }
  if (keycode >= SDLK_1 && keycode <= SDLK_9) {
    return DikFromScancode(SDL_SCANCODE_1 + (keycode - SDLK_1));
  }
  if (keycode == SDLK_0) return DikFromScancode(SDL_SCANCODE_0);
  // The digit row of AZERTY prints & é " ... and types its digits with Shift: its place counts.
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 0;
  return DikFromScancode(scancode);
}
