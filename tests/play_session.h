// A game being played, headless, through the whole program: the title's Play button, the
// stage intros and the OK boxes clicked as a player would, the state line of every flip kept.
#pragma once

#include <string>
#include <vector>

#include "game/play_state.h"
#include "game/state_line.h"
#include "game_session.h"
#include "shell/screens.h"
#include "shell/startup.h"
#include "sound/sound_slots.h"

class PlaySession : public GameSession {
 protected:
  void SetUp() override { CollectStateLines(&lines_); }

  // From the start of the program to the first flip of stage 1's play.
  void StartPlaying() {
    StartGame();
    MoveCursorTo(528, 350);  // the Play button
    ClickLeft();
    Frames(1);
    Frames(1);  // the intro
    ClickLeft();
    Frames(1);
  }

  // The game waits in a click loop (an intro, a closing picture) or in an OK box: click it
  // away and run to the next flip that follows.
  void ClickAway() {
    ClickLeft();
    Frames(1);
  }
  void ClickOk() {
    MoveCursorTo(280, 330);
    ClickLeft();
    Frames(1);
  }

  // Between two frames: every fly of the stage dead and silent as if swatted, so that the frame
  // to come wins it; then through its OK box to the next stage's intro.
  void WinStageToIntro() {
    for (int i = 0; i < FlyCount; ++i) {
      FlyTable[i].alive = 0;
      if (BuzzOn[i]) SoundStop(FlyBuzz[i]);
    }
    Frames(1);  // the OK box
    ClickOk();  // the next intro
  }
  // Jumps from stage 1's play to the play of stage n.
  void PlayFromStage(int n) {
    Stage = n - 1;
    WinStageToIntro();
    ClickAway();
  }

  // Puts a fly of the stage where the swatter's corner at (cx, cy) meets it squarely.
  static void PutFlyUnderSwatter(int i, int cx, int cy) {
    FlyTable[i].alive = 1;
    FlyTable[i].x = cx + 17;
    FlyTable[i].y = cy + 22;
  }

  const std::string& Line() const { return lines_.back(); }

  std::vector<std::string> lines_;
};
