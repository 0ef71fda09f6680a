// Scripted input for the headless backend: mouse motion, buttons, keys and focus changes,
// pushed into SDL's event queue as a player's would arrive, so that they take the same road
// through the event pump and the input devices.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/seams/headless.h"

enum class ScriptedKind { MouseMotion, MouseButton, Key, Focus };

struct ScriptedInput {
  ScriptedKind kind;
  int first;   // dx, button index (as in rgbButtons), DIK code; unused for focus
  int second;  // dy; or 1 for down / focus gained, 0 for up / focus lost
};

ScriptedInput ScriptMouseMotion(int dx, int dy);
ScriptedInput ScriptMouseButton(int index, bool down);
ScriptedInput ScriptKey(uint8_t dik, bool down);
ScriptedInput ScriptFocus(bool gained);

// Into SDL's queue now; the next device read sees it.
void PushScriptedInput(const ScriptedInput& input);

// Pushed just before the `count`-th yield at `point` from now (1: the next one), so that the
// read or frame there sees it. Several inputs due at the same yield go in the order given.
void ScheduleScriptedInput(YieldPoint point, uint64_t count, const ScriptedInput& input);
size_t ScriptedInputPending();

// Pushes what is due at this yield. A driver's own yield handler calls it; without a driver,
// ScriptedInputInstall makes it the yield handler.
void ScriptedInputOnYield(YieldPoint point);
void ScriptedInputInstall();
