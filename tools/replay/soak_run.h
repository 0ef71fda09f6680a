// A soak: the scripted player plays whole games back to back in one run of the program, from
// the title's Play button each time, until the given game time has passed. After each game
// it notes the process's resident memory and open descriptors, and checks that Highscore.dat
// loads back to the table the highscore screen showed.
#pragma once

#include <cstdint>
#include <string>

// Before the program starts, headless, in a run folder of its own. With `report`, a line for
// every game as it ends; without, the games are only played (an autoplayed session).
void SoakStart(double minutes, bool report = true);

// Every game that enters the table is kept as the game keeps it (in replays/ of the run's
// folder), so that the soak's memory is the game's with its keeping.
void SoakKeepGames();
// "41 games named, 41 kept" after the run.
std::string SoakKeeping();

// After the run: one line per game has been printed. Nothing when the soak held, else what
// went wrong.
std::string SoakVerdict();
