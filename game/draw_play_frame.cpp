#include "game/draw_play_frame.h"

#include <cstdio>
#include <cstring>

#include "game/play_state.h"
#include "game/stage_table.h"
#include "game/wait_for_ok.h"
#include "globals/current_screen.h"
#include "globals/image_numbers.h"
#include "globals/sound_slot_numbers.h"
#include "graphics/display.h"
#include "graphics/drawing.h"
#include "input/draw_cursor.h"
#include "input/keyboard.h"
#include "scores/highscore_table.h"
#include "sound/sound_slots.h"

namespace {

constexpr COLORREF kYellow = 0xFFFF;
constexpr COLORREF kRed = 0xFF;

void PanBuzz() {
  for (int i = 0; i < FlyCount; ++i) SoundSetPan(FlyBuzz[i], FlyTable[i].x * 10 - 3000);
}

// The hurt picture shows on the frame of the hit and the ten after it.
void DrawBoss() {
  BossFrame = BossFrame >= 2 ? 0 : BossFrame + 1;
  const int picture = BossHitTimer == 0 ? kBossImage + BossFrame : kHurtBossImage;
  DrawSprite(Display.backBuffer, 100, 0, ImageSlots[picture]);
  if (BossHitTimer > 0) BossHitTimer -= 1;
}

void DrawField() {
  for (int i = 0; i < FlyCount; ++i) {
    const FlyEntry& fly = FlyTable[i];
    if (fly.alive) DrawSprite(Display.backBuffer, fly.x, fly.y, ImageSlots[kFlyImage + fly.frame]);
  }
  const FlyEntry& wasp = FlyTable[kWasp];
  if (wasp.alive) DrawSprite(Display.backBuffer, wasp.x, wasp.y, ImageSlots[kWaspImage]);
  const FlyEntry& blob = FlyTable[kCreamBlob];
  if (blob.alive) DrawSprite(Display.backBuffer, blob.x, blob.y, ImageSlots[kCreamImage]);
}

void DrawNumber(int32_t value, int x, int y, COLORREF colour) {
  std::snprintf(TextBuffer, sizeof TextBuffer, "%d", value);
  DrawShadowText(TextBuffer, x, y, colour, Display.backBuffer);
}

// The score is placed by its number of characters, ten pixels each, ending near x 310.
void DrawHeadUpDisplay() {
  std::snprintf(TextBuffer, sizeof TextBuffer, "%d", CurrentGameEntry.score);
  const int width = 10 * static_cast<int>(std::strlen(TextBuffer));
  DrawShadowText(TextBuffer, 310 - width, 3, kYellow, Display.backBuffer);
  DrawSprite(Display.backBuffer, 3, 3, ImageSlots[kCreamImage]);
  DrawShadowText("x", 40, 3, kYellow, Display.backBuffer);
  DrawNumber(CreamStock, 65, 3, kRed);
  DrawNumber(SecondsLeft(), 600, 3, kRed);
  if (Stage == kBossStage) {
    std::snprintf(TextBuffer, sizeof TextBuffer, "Boss : %d", BossEnergy);
    DrawShadowText(TextBuffer, 260, 450, kRed, Display.backBuffer);
  }
}

// A single target in the boss stage is the boss alone: no picture for it.
void DrawSwatResult() {
  if (EffectTimer <= 0) return;
  EffectTimer -= 1;
  if (EffectKind == 0) {
    DrawSprite(Display.backBuffer, 0, 0, ImageSlots[kMissImage]);
  } else if (EffectKind == 1) {
    if (Stage < kBossStage) DrawCentered(Display.backBuffer, ImageSlots[kOneHitImage]);
  } else if (EffectKind <= 7) {
    DrawCentered(Display.backBuffer, ImageSlots[kOneHitImage + EffectKind - 1]);
  } else {
    DrawCentered(Display.backBuffer, ImageSlots[kWaspHitImage]);
  }
}

}  // namespace

void DrawPlayFrame() {
  PanBuzz();
  DrawOpaque(Display.backBuffer, 0, 0, ImageSlots[kBackgroundImage]);
  // Escape gives up, but this frame is still drawn to its end first.
  if (KeyHeld(DIK_ESCAPE)) {
    CurrentScreen = ScreenTitle;
    ScreenFirstFrame = true;
    WaitForKeysReleased();
  }
  if (Stage == kBossStage) DrawBoss();
  DrawField();
  DrawCursor();
  DrawHeadUpDisplay();
  DrawSwatResult();
  FlipPage();
  if (CurrentScreen == ScreenTitle) {
    DrawBannerText("Surrender !", 100);
    SoundStopAll();
    WaitForOk();
  }
}
