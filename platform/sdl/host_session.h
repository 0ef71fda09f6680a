// What the session the game runs in gives it: a desktop's display, or a browser's page.
#pragma once

#include <cstdint>
#include <string>

// SDL's video drivers that can show the game here; empty, with why, when none can.
std::string HostVideoDrivers(std::string* whyNone);
// The session ending (a desktop's hang-up) ends the game as a close request does.
void HostEndWithSession();
// The game window as the session shows it: its place, size and SDL's window flags, given
// those the game asked for and the flags every window has.
void HostShapeWindow(int* x, int* y, int* width, int* height, uint32_t* flags);
// Whether SDL can run a sound device's own thread (a browser's SDL is built without threads).
bool HostRunsAudioThreads();
// Whether the sound device may open as the game asks for it; if not, it opens at the player's
// first click, key or touch (a browser plays nothing before one, and its first audio context
// would block the page's start for half a second).
bool HostOpensSoundAtOnce();
