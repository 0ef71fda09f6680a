// One drawn frame of play: the field, the swatter, the head-up display and the last swat's
// result; Escape gives the game up.
#pragma once

void DrawPlayFrame();
