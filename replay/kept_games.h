// The game keeps its games. From the program's start the session is recorded as
// `zimbrel-replay record` records it (the same lines, in memory, up to a replay's size), and
// when a game's name is complete in the highscore table, its proof is written: the session's
// replay from the start to the flip after that moment, with the table the program started with
// and comment lines that claim every game named so far. One file a game, in replays/ beside
// Highscore.dat, named by date, time, name and score; the last 100 are kept. Recording draws
// no number and moves no clock; a proof that cannot be written is said on standard error and
// costs nothing else.
#pragma once

#include <string>

// In the program's entry, before WinMain.
void KeepGames();

// Told the path of each proof once it is in place, on the game's thread: what it does must
// cost no more than a file's link (the leaderboard's sender queues it so).
void AddProofKeptObserver(void (*observer)(const std::string& path));

// Where the proofs go, beside Highscore.dat in the working folder.
constexpr char kKeptGamesFolder[] = "replays";
constexpr int kKeptGamesKept = 100;
