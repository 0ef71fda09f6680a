// The game keeps its games. Each game is recorded as `zimbrel-replay record` records a session
// (the same lines, in memory, up to a replay's size) from the flip after its Play click, and
// when its name is complete in the highscore table, its proof is written: a comment line that
// claims the game, a start line with what the game carried in from before Play, the table at
// that moment, and the game's lines to the flip after its name. Between games nothing is kept,
// so memory holds one game however long the session. One file a game, in replays/ beside
// Highscore.dat, named by date, time, name and score; the last 100 are kept. Recording draws
// no number and moves no clock; a proof that cannot be written is said on standard error and
// costs nothing else.
#pragma once

#include <string>

#include "replay/replay_recorder.h"

// In the program's entry, before WinMain: the player's own devices are recorded, their live
// clock's readings included; or what a program's hands answer, or what a replay player answers
// (ReplayRecorderHear as its onAnswer), for a game played without a player.
void KeepGames(const ReplayRecorderOptions& recording = {nullptr, true, false});

// Told the path of each proof once it is in place, on the game's thread: what it does must
// cost no more than a file's link (the leaderboard's sender queues it so).
void AddProofKeptObserver(void (*observer)(const std::string& path));

// Where the proofs go, beside Highscore.dat in the working folder.
constexpr char kKeptGamesFolder[] = "replays";
constexpr int kKeptGamesKept = 100;
