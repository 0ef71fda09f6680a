// The program's entry, as the C runtime of the original platform would call the game's.
#include "platform/sdl/platform_quit.h"
#include "platform/win32/win.h"
#include "shell/win_main.h"

int main(int, char**) {
  char commandLine[] = "";
  const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
  PlatformQuit();
  return status;
}
