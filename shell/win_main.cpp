#include "shell/win_main.h"

#include "game/play_answers.h"
#include "game/random.h"
#include "scores/highscore_save.h"
#include "shell/run_frame.h"
#include "shell/screens.h"
#include "shell/startup.h"

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      // The picture comes from page flips; painting only validates the window.
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The game's generator starts one step in, as the program always has.
  GameRandStart();
  AnswerPlayQuestions(BeginPlayAtTitle);
  WNDCLASSA windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetStockObject(BLACK_BRUSH);
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = "WINXCLASS";
  if (!RegisterClassA(&windowClass)) return 0;

  HWND window = CreateWindowExA(0, "WINXCLASS", "Zimbrel", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 0;
  ShowCursor(FALSE);
  MainWindow = window;
  AppInstance = instance;

  if (!StartUp()) return 0;

  for (;;) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ShutDown();
        // A name that could not be kept is the one failure a script or a desktop should see.
        return HighscoreRowsUnsaved() ? 1 : static_cast<int>(msg.wParam);
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    RunFrame();
  }
}
