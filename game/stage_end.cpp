#include "game/stage_end.h"

#include <cstdio>

#include "game/play_state.h"
#include "game/stage_table.h"
#include "game/start_stage.h"
#include "game/wait_for_ok.h"
#include "globals/current_screen.h"
#include "globals/image_numbers.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/mouse_cursor.h"
#include "scores/highscore_table.h"
#include "sound/sound_slots.h"

namespace {

void BackToTitle() {
  CurrentScreen = ScreenTitle;
  ScreenFirstFrame = true;
}

// The tally on the background: the bonus of ten points a second left, and the new score. The
// seconds are read once, so the bonus added is the bonus shown.
void DrawWonTally() {
  DrawBannerText("You did it !", 100);
  const int32_t left = SecondsLeft();
  std::snprintf(TextBuffer, sizeof TextBuffer, "%d x 10 = %d", left, left * 10);
  DrawBannerText(TextBuffer, 150);
  AddToScore(int64_t{left} * 10);
  std::snprintf(TextBuffer, sizeof TextBuffer, "Score  -  %d", CurrentGameEntry.score);
  DrawBannerText(TextBuffer, 200);
}

// The time out is an equality: a frame late by more than a second misses it for good.
void CheckTimeOut() {
  if (SecondsLeft() != 0) return;
  std::snprintf(TextBuffer, sizeof TextBuffer, "Time out looser !");
  DrawBannerText(TextBuffer, 100);
  SoundStopAll();
  WaitForOk();
  BackToTitle();
}

void CheckStageWon(int32_t deadCount) {
  if (deadCount < FlyCount || Stage >= kBossStage) return;
  DrawWonTally();
  WaitForOk();
  Stage += 1;
  CreamStock += 1;
  StartStage();
}

// The closing picture tells whether the game had a swat of seven or more.
void CheckBossBeaten() {
  if (Stage != kBossStage || BossEnergy > 0) return;
  DrawCentered(ImageSlots[kBackgroundImage], ImageSlots[kWinImage]);
  DrawWonTally();
  SoundStopAll();
  WaitForOk();
  LoadBackground(CurrentGameEntry.swatCounts[7] > 0 ? "gfx\\welldone.bmp" : "gfx\\loose.bmp");
  DrawFullScreen(ImageSlots[kBackgroundImage]);
  FlipPage();
  WaitForClick(0);
  BackToTitle();
}

}  // namespace

// Each check stands on its own: a time out and a cleared stage in one frame show both.
void CheckStageEnd(int32_t deadCount) {
  CheckTimeOut();
  CheckStageWon(deadCount);
  CheckBossBeaten();
}
