// The game's warning box. SDL shows a box from a process of its own (its X11 box, or zenity)
// and waits for that process whatever signal comes, and a box outlived a killed game.
#pragma once

// Shows the box and returns once it is closed: by its button, or by SIGINT, SIGTERM or SIGHUP,
// which close it and then take effect as they would have without a box. The box's process
// never outlives the game's.
void ShowWarningBox(const char* caption, const char* text);
