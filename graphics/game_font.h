// The game's one font, made once at start-up and kept for the whole run.
#pragma once

#include "platform/win32/gdi.h"

extern HFONT GameFont;

void CreateGameFont();
