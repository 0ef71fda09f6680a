// The host's hold on the pointer the game captures. A desktop's SDL keeps the pointer for as
// long as the window has the focus; a browser gives its pointer lock back on Escape or a switch
// of window while the page keeps the focus.
#pragma once

// Whether the host can let go of the pointer while the game holds it, and tells where the
// pointer is then.
bool PointerLockCanBeLost();
// Whether the pointer is free now although the game holds it captured.
bool PointerLockLost();
// The free pointer's place in picture pixels, when it is over the picture.
bool FreePointerPlace(int* x, int* y);
