// The program's entry, as the C runtime of the original platform would call the game's.
#include <SDL.h>

#include "platform/win.h"
#include "shell/win_main.h"

int main(int, char**) {
  char commandLine[] = "";
  WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  SDL_Quit();
  return 0;
}
