// What tells one game from every other: the key a verifier's run gives each game it plays. It
// holds every device read and every reading of the rules clock the game made from its Play
// click until its play ended, before its name: written by the run itself from what it
// answered, never from the replay's text. So comments, line endings, lines that change no
// answer, the table a replay starts from, the title and the credits before Play, a start line's
// word for what the game carried in, and the name typed all give the same key
// (docs/replay.md).
#pragma once

#include <string>

#include "replay/replay_file.h"

// Installs the flip observer; once per process, before WinMain. Hand PlayKeyHear to the
// replay player as its onAnswer.
void PlayKeyStart();
void PlayKeyHear(const ReplayLine& answer);
// A replay of one game starts in play without a flip: hand this to the player as its onStart.
void PlayKeyAtStart();
// The key of the last game whose play has ended, in hexadecimal; "" before the first.
std::string PlayKeyOfLastGame();
