// A browser page: the pointer is captured through the pointer lock, which the browser gives
// back on Escape or a switch of window. Under Node.js there is no page, and nothing is lost.
#include "platform/sdl/pointer_lock.h"

#include <emscripten.h>

namespace {

// Captured on the document, so that the place is known before SDL's own handler on the canvas
// sees the same move.
EM_JS(int, FollowPointerOnPage, (), {
  if (typeof document === 'undefined') return 0;
  if (Module.freePointer) return 1;
  Module.freePointer = {over: false, x: 0, y: 0};
  document.addEventListener('mousemove', function(event) {
    const canvas = Module.canvas;
    const box = canvas.getBoundingClientRect();
    if (!(box.width > 0 && box.height > 0)) return;
    const x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
    const y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
    Module.freePointer = {
      over: x >= 0 && y >= 0 && x < canvas.width && y < canvas.height, x: x, y: y,
    };
  }, true);
  return 1;
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

bool FollowFreePointer() { return FollowPointerOnPage() != 0; }

bool PointerLockLost() { return PageLockLost() != 0; }

bool FreePointerPlace(int* x, int* y) { return PagePointerPlace(x, y) != 0; }
