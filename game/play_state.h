// What the play screen works on: the moving objects and the variables of a game, kept for the
// whole run (a new game sets only some of them anew).
#pragma once

#include <cstdint>

// One object on the play field; its picture's top-left corner is at (x, y).
struct FlyEntry {
  int32_t x;
  int32_t y;
  uint8_t alive;  // on the field: drawn, moved and hit-tested
  int32_t frame;  // animation phase, 0 to 2
};

// Entries 0 to 49 are flies (the first FlyCount take part), 50 the cream blob, 51 the wasp.
constexpr int kFlyEntries = 50;
constexpr int kCreamBlob = 50;
constexpr int kWasp = 51;
extern FlyEntry FlyTable[52];

// PlayState: the variables of the play screen.
extern int32_t Stage;           // 1 to 10
extern int32_t FlyCount;        // fly entries in use in this stage
extern int32_t MoveMode;        // 1 to 4: how the flies move
extern int32_t TimeLimit;       // seconds allowed for this stage
extern uint32_t StageStartTick; // the rules clock when the stage's intro was clicked away
extern int32_t CreamStock;      // blobs the player may still drop
extern int32_t BossEnergy;      // hits still needed to beat the boss
extern int32_t BossFrame;       // the boss's animation phase, 0 to 2
extern int32_t BossHitTimer;    // drawn frames left of the hurt boss; it cannot be hit then
extern int32_t SwatHits;        // targets hit by the current swat
extern int32_t EffectTimer;     // drawn frames left of the last swat's result picture
extern uint8_t EffectKind;      // which result picture: 0 a miss, 1 to 7 targets, 8 the wasp
extern uint8_t WaspHit;         // the wasp was hit during the current swat
extern uint8_t BuzzOn[kFlyEntries];  // fly i's buzz was started in this stage

// Seconds left of the stage by the rules clock, read anew: the limit less the whole seconds
// since the stage's clock started (unsigned milliseconds, so a wrapping clock still counts).
int32_t SecondsLeft();
