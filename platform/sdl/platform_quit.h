// The end of a process that ran the game: SDL's subsystems that are still open are closed.
#pragma once

void PlatformQuit();
