// A player made of code: it plays the game as a skilled player would, from the title's Play
// button through the ten stages and the boss to the name in the highscores and out through
// the exit picture. It looks at the game's records to see the field, but acts only as a
// player's hands do: it answers each read of the keyboard and the mouse.
#pragma once

#include <string>

#include "platform/win32/dinput.h"

struct ScriptedPlayerOptions {
  int untilStage = 10;      // gives up with Escape once this stage is won
  std::string name = "BOT"; // typed into the highscores
  bool lazyBoss = false;    // chases the flies the boss lets out only after every other hit
};

// Before the program starts: counts the flips from here on.
void ScriptedPlayerStart(const ScriptedPlayerOptions& options);
// Once a game is over: back on the title, Play again with these options instead of Exit.
void ScriptedPlayerPlayAgain(const ScriptedPlayerOptions& options);
// What the player's hands give at this read: the keyboard's 256 bytes or a DIMOUSESTATE,
// written over whatever the device said.
void ScriptedPlayerAnswer(DeviceKind kind, void* state);
