#include "platform/sdl/scripted_input.h"

#include <SDL.h>

#include <vector>

#include "platform/sdl/game_window.h"
#include "platform/win32/dik_codes.h"
#include "platform/sdl/scancode_table.h"
#include "platform/win32/win.h"

namespace {

struct DueInput {
  YieldPoint point;
  uint64_t due;  // the yield count at that point when it is pushed
  ScriptedInput input;
};

std::vector<DueInput> schedule;
uint64_t yieldCounts[3] = {0, 0, 0};
uint16_t heldModifiers = KMOD_NONE;  // the modifiers the script holds, for key events' mod

uint64_t& YieldCount(YieldPoint point) { return yieldCounts[static_cast<int>(point)]; }

Uint32 MainWindowId() {
  SDL_Window* window = PlatformSdlWindow(PlatformMainWindow());
  return window != nullptr ? SDL_GetWindowID(window) : 0;
}

uint16_t ModifierOf(uint8_t dik) {
  switch (dik) {
    case DIK_LSHIFT: return KMOD_LSHIFT;
    case DIK_RSHIFT: return KMOD_RSHIFT;
    case DIK_LCONTROL: return KMOD_LCTRL;
    case DIK_RCONTROL: return KMOD_RCTRL;
    case DIK_LMENU: return KMOD_LALT;
    case DIK_RMENU: return KMOD_RALT;
    case DIK_LWIN: return KMOD_LGUI;
    case DIK_RWIN: return KMOD_RGUI;
    default: return KMOD_NONE;
  }
}

Uint8 SdlButton(int index) {
  static constexpr Uint8 kButtons[4] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE,
                                        SDL_BUTTON_X1};
  return index >= 0 && index < 4 ? kButtons[index] : 0;
}

SDL_Event KeyEvent(uint8_t dik, bool down) {
  SDL_Event event{};
  const uint16_t modifier = ModifierOf(dik);
  heldModifiers = static_cast<uint16_t>(down ? heldModifiers | modifier : heldModifiers & ~modifier);
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = MainWindowId();
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(ScancodeFromDik(dik));
  event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
  event.key.keysym.mod = heldModifiers;
  return event;
}

SDL_Event ToSdlEvent(const ScriptedInput& input) {
  SDL_Event event{};
  switch (input.kind) {
    case ScriptedKind::MouseMotion:
      event.type = SDL_MOUSEMOTION;
      event.motion.windowID = MainWindowId();
      event.motion.xrel = input.first;
      event.motion.yrel = input.second;
      break;
    case ScriptedKind::MouseButton:
      event.type = input.second != 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      event.button.windowID = MainWindowId();
      event.button.button = SdlButton(input.first);
      event.button.state = input.second != 0 ? SDL_PRESSED : SDL_RELEASED;
      event.button.clicks = 1;
      break;
    case ScriptedKind::Key:
      event = KeyEvent(static_cast<uint8_t>(input.first), input.second != 0);
      break;
    case ScriptedKind::Focus:
      event.type = SDL_WINDOWEVENT;
      event.window.windowID = MainWindowId();
      event.window.event = input.second != 0 ? SDL_WINDOWEVENT_FOCUS_GAINED
                                             : SDL_WINDOWEVENT_FOCUS_LOST;
      break;
  }
  return event;
}

}  // namespace

ScriptedInput ScriptMouseMotion(int dx, int dy) { return {ScriptedKind::MouseMotion, dx, dy}; }
ScriptedInput ScriptMouseButton(int index, bool down) {
  return {ScriptedKind::MouseButton, index, down ? 1 : 0};
}
ScriptedInput ScriptKey(uint8_t dik, bool down) { return {ScriptedKind::Key, dik, down ? 1 : 0}; }
ScriptedInput ScriptFocus(bool gained) { return {ScriptedKind::Focus, 0, gained ? 1 : 0}; }

void PushScriptedInput(const ScriptedInput& input) {
  SDL_Event event = ToSdlEvent(input);
  SDL_PushEvent(&event);
}

void ScheduleScriptedInput(YieldPoint point, uint64_t count, const ScriptedInput& input) {
  schedule.push_back({point, YieldCount(point) + count, input});
}

size_t ScriptedInputPending() { return schedule.size(); }

void ScriptedInputOnYield(YieldPoint point) {
  const uint64_t now = ++YieldCount(point);
  // In the order scheduled; what stays keeps its order too.
  std::vector<DueInput> later;
  for (const DueInput& entry : schedule) {
    if (entry.point == point && entry.due <= now) {
      PushScriptedInput(entry.input);
    } else {
      later.push_back(entry);
    }
  }
  schedule.swap(later);
}

void ScriptedInputInstall() { HeadlessSetYieldHandler(ScriptedInputOnYield); }
