// A browser page: the pointer is captured through the pointer lock, which the browser gives
// back on Escape or a switch of window. The page tells where its pointer is over the picture
// (Module.freePointer, in the picture's pixels); under Node.js there is no page, and nothing
// is lost.
#include "platform/controls/pointer_lock.h"

#include <emscripten.h>

namespace {

EM_JS(int, PageTellsPointerPlace, (), {
  return typeof document !== 'undefined' && typeof Module.freePointer === 'object';
});

EM_JS(int, PageLockLost, (), {
  return typeof document !== 'undefined' && document.pointerLockElement !== Module.canvas;
});

EM_JS(int, PagePointerPlace, (int* x, int* y), {
  const place = Module.freePointer;
  if (!place || !place.over) return 0;
  HEAP32[x >> 2] = place.x;
  HEAP32[y >> 2] = place.y;
  return 1;
});

}  // namespace

bool PointerLockCanBeLost() { return PageTellsPointerPlace() != 0; }

bool PointerLockLost() { return PageLockLost() != 0; }

bool FreePointerPlace(int* x, int* y) { return PagePointerPlace(x, y) != 0; }
