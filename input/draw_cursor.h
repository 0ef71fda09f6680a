// Drawing the cursor into the back buffer, with the swat sound.
#pragma once

// The animated fly, the plain picture or the swatter (swinging while a swat is on); in the
// frame a swat starts, the hit sound panned to where the swatter is.
void DrawCursor();
