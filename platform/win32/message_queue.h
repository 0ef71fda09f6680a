// The window messages waiting for the frame loop: posted by the game (the quit message), the
// event pump (a close asked for, an expose) and tests; taken one at a time by PeekMessageA.
#pragma once

#include "platform/win32/win.h"

bool WindowMessageWaiting();
// The oldest message, removed from the queue or left in it. False when none waits.
bool TakeWindowMessage(MSG* msg, bool remove);
