// A desktop: SDL holds the pointer for as long as the window has the focus, and gives it back
// only with the focus, when the game stops reading it anyway. It is never lost in between.
#include "platform/controls/pointer_lock.h"

bool PointerLockCanBeLost() { return false; }

bool PointerLockLost() { return false; }

bool FreePointerPlace(int*, int*) { return false; }
