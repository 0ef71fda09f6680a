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
