// The benchmark's busy moment of play: the boss stage with fifty flies out, the boss, the wasp
// and a blob of cream, reached as a player gets there, and everything a frame changes kept so
// that each timed frame starts from the same moment.
#pragma once

#include <cstdint>

#include "game/play_state.h"
#include "input/mouse_cursor.h"
#include "platform/seams/headless.h"
#include "scores/highscore_table.h"

// Everything a frame changes that would, left alone, end the busy moment: the flies crawl
// off the field and feed the boss, the wasp leaves, the clock runs out.
struct PlayMoment {
  FlyEntry flies[52];
  int32_t bossEnergy, bossFrame, bossHitTimer, effectTimer;
  CursorRecord cursor;
  DIMOUSESTATE mouse;
  HighscoreEntry game;

  void Take() {
    for (int i = 0; i < 52; ++i) flies[i] = FlyTable[i];
    bossEnergy = BossEnergy;
    bossFrame = BossFrame;
    bossHitTimer = BossHitTimer;
    effectTimer = EffectTimer;
    cursor = Cursor;
    mouse = MouseState;
    game = CurrentGameEntry;
  }
  void Restore() const {
    for (int i = 0; i < 52; ++i) FlyTable[i] = flies[i];
    BossEnergy = bossEnergy;
    BossFrame = bossFrame;
    BossHitTimer = bossHitTimer;
    EffectTimer = effectTimer;
    Cursor = cursor;
    MouseState = mouse;
    CurrentGameEntry = game;
    StageStartTick = HeadlessClockNow();
  }
};

// The moment, brought about the first time it is asked for.
PlayMoment& BusyBossStage();
