// Shows a finished 640 x 480 frame on screen (or hands it to the headless capture) and paces
// the flips like a 60 Hz display.
#pragma once

#include <cstdint>

struct SDL_Surface;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// Opens the renderer and the streaming texture of the game window. Returns false on failure.
bool PresenterOpen();
void PresenterClose();

// One upload, one present, unless the frame equals the one on screen; never returns sooner
// than 1/60 s after the previous call.
void PresentFrame(SDL_Surface* frame);
// Where a point of the window, given as fractions of its width and height (as a touch screen
// tells its fingers), lies on the picture, in its pixels; beyond its edges where the point is
// on a black bar. Headless, the window is the picture.
void PresenterPicturePoint(float windowX, float windowY, int* x, int* y);
// The window's contents were lost or resized (exposed, a lost renderer): the next frame is
// sent whatever it shows.
void PresenterRedrawNext();
// Where the window lost its contents since, the frame last shown is shown again: a replay held
// on one flip presents nothing new.
void PresenterShowAgain();
