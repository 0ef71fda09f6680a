// Every drawing primitive of the game, for the screens to include at once.
#pragma once

#include "graphics/blits.h"
#include "graphics/color_fill.h"
#include "graphics/game_font.h"
#include "graphics/pixels.h"
#include "graphics/shadow_text.h"
