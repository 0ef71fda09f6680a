// What the player asked for on the command line, for the platform layer's window and sound.
// None of it reaches the game's rules: a muted game or a game in a window plays the same.
#pragma once

#include <string>

struct PlayerOptions {
  bool window = false;  // start in a window rather than full screen
  int scale = 0;        // the window's whole factor, 1 to 4; 0 when the screen decides
  bool mute = false;    // no sound device: the sounds still play, to nobody
  std::string leaderboard;  // where kept games are sent ("http://..." or "https://..."); none
};

// The process-wide record, set by the program's entry before the game starts.
PlayerOptions& CurrentPlayerOptions();
