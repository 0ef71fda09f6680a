// A game being played, headless, through the whole program: the title's Play button, the
// stage intros and the OK boxes clicked as a player would, the state line of every flip kept.
#pragma once

#include <string>
#include <vector>

#include "game/play_state.h"
#include "game/state_line.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"
#include "shell/startup.h"
#include "sound/sound_slots.h"
#include "tests/support/game_session.h"

// A fly's buzz as the sound device has it.
struct Buzz {
  LONG volume;
  bool playing;
  DWORD position;
};

Buzz BuzzOf(int fly);

class PlaySession : public GameSession {
 protected:
  void SetUp() override { CollectStateLines(&lines_); }

  // From the start of the program into stage 1's play, until the swatter can swat: the click
  // on Play started a swat that runs out during the intro and the first frames.
  void StartPlaying();

  // The game waits in a click loop (an intro, a closing picture) or in an OK box: click it
  // away and run to the next flip that follows.
  void ClickAway();
  void ClickOk();

  // Between two frames: every fly of the stage dead and silent as if swatted, so that the frame
  // to come wins it; then through its OK box to the next stage's intro.
  void WinStageToIntro();
  // Jumps from stage 1's play to the play of stage n.
  void PlayFromStage(int n);

  // Puts a fly of the stage where the swatter's corner at (cx, cy) meets it squarely.
  static void PutFlyUnderSwatter(int i, int cx, int cy);
  // Every fly of the stage out of the way, in the field's far corner.
  static void ParkFlies();

  // A swat: the left button tapped, and the ten frames to the one that scores it.
  void Swat();
  // The frames after a swat until the next one can start.
  void Rearm() { Frames(2); }

  const std::string& Line() const { return lines_.back(); }

  std::vector<std::string> lines_;
};
