#include "shell/win_main.h"

int ReportError(const char* text) {
  MessageBoxA(MainWindow, text, "Fehler Fehler Fehler !!!", MB_ICONWARNING);
  return 0;
}
