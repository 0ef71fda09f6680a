// The game's one font, made once at start-up and kept for the whole run.
#pragma once

#include "platform/gdi.h"

extern HFONT GameFont;

void CreateGameFont();
