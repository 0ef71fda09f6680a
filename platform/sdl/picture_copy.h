// StretchBlt's copy of a picture into a surface. Rules only (headless), a copy that fills its
// whole target waits until the target's pixels are first looked at: a background that only
// blits (which then draw nothing) would read is never copied at all.
#pragma once

struct SDL_Surface;
struct SDL_Rect;

// Copies, stretching where the rectangles differ in size, into the target's pixel format.
// False when SDL could not.
bool CopyPicture(SDL_Surface* source, const SDL_Rect& from, SDL_Surface* target,
                 const SDL_Rect& to);
// Makes the copy that waits for the target, if one does: before its pixels are read or written.
void MakeWaitingCopy(SDL_Surface* target);
// Drops the copy that waits for a target about to be freed.
void ForgetWaitingCopy(SDL_Surface* target);
