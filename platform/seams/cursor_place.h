// Where the game's cursor stands after its last move (its top-left corner, in picture pixels),
// told by the game's mouse code. A pointer that has a place of its own (a browser's pointer
// without its lock) is turned into the counts that bring the cursor there; nothing else reads
// it, so it never changes what the game does with the counts it is given.
#pragma once

#include <cstdint>

void NoteCursorPlace(int32_t x, int32_t y);
// (0, 0), where the cursor starts, until the first note.
void CursorPlace(int32_t* x, int32_t* y);

// The cursor's tip, from its corner: the point a finger puts the cursor by. The game tells it
// before each move; (0, 0), the corner, until then.
void NoteCursorTip(int32_t x, int32_t y);
void CursorTip(int32_t* x, int32_t* y);
