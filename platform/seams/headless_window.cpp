#include "platform/seams/headless_window.h"

#include "platform/seams/headless.h"

HWND OpenHeadlessWindow(WNDPROC procedure, DWORD style) {
  HeadlessEnable();
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = "WINXCLASS";
  RegisterClassA(&windowClass);  // refused when already registered; the first one stands
  return CreateWindowExA(0, "WINXCLASS", "Zimbrel", style, 0, 0, 640, 480, nullptr, nullptr,
                         nullptr, nullptr);
}
