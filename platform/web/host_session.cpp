// The browser: SDL's emscripten driver on the page's canvas.
#include "platform/sdl/host_session.h"

std::string HostVideoDrivers(std::string*) { return "emscripten"; }

// A page has no hang-up to catch: every name entered is saved at once and its carrying to
// IndexedDB starts then, so only a tab closed within those few milliseconds can lose it.
void HostEndWithSession() {}

// The canvas holds the picture at its own size and the page scales it to the window, so that
// the software renderer only copies; full screen is the page's to ask for, on a gesture.
void HostShapeWindow(int*, int*, int* width, int* height, uint32_t*) {
  *width = 640;
  *height = 480;
}

bool HostRunsAudioThreads() { return false; }

// Every start of the game waits for a gesture of its own: the title is silent, so a start again
// after the exit picture loses nothing until the next click or key.
bool HostOpensSoundAtOnce() { return false; }
