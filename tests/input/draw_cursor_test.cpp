// Drawing the cursor: the fly animation, the swatter cut at the screen's edge, and the swat
// sound taken in turn from the two hit slots, panned to the swatter.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/display.h"
#include "input/draw_cursor.h"
#include "shell/startup.h"
#include "sound/sound_slots.h"
#include "tests/support/cursor_fixture.h"
#include "tests/support/riff_bytes.h"

namespace {

constexpr uint32_t kColors[3] = {0xFF0000, 0x00FF00, 0x0000FF};
constexpr uint32_t kBackground = 0x202020;

class DrawCursorTest : public CursorFixture {
 protected:
  void ClearBackBuffer() {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = kBackground;
    Display.backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  }

  // The index of the cursor picture at (x, y) of the back buffer, or -1 for none.
  int PictureAt(int x, int y) {
    const uint32_t color = PixelAt(Display.backBuffer, x, y);
    for (int index = 0; index < 3; ++index) {
      if (color == kColors[index]) return index;
    }
    return -1;
  }

  int DrawAndSee() {
    ClearBackBuffer();
    DrawCursor();
    return PictureAt(Cursor.x + 5, Cursor.y + 5);
  }

  void LoadSwatter() {
    LoadPlainCursor(0, 64, 167, kColors[0]);
    LoadPlainCursor(1, 64, 167, kColors[1]);
    Cursor.swatter = true;
  }

  // The two hit slots over a long silent sound, so a started one is still playing when asked.
  void LoadHitSounds() {
    ASSERT_EQ(SoundInit(), 1);
    const Bytes wave = RiffForm("WAVE", {Chunk("fmt ", PcmFormat(1, 11025, 16)),
                                         Chunk("data", Bytes(11025 * 2 * 20, 0))});
    WriteBytes("Hit.WAV", wave);
    HitSound = SoundLoadWav("Hit.WAV", DSBCAPS_CTRLPAN);
    HitSound2 = SoundDuplicate(HitSound);
    ASSERT_GE(HitSound, 0);
    ASSERT_GE(HitSound2, 0);
  }

  static bool Playing(int32_t slot) {
    DWORD status = 0;
    SoundSlots[slot].buffer->GetStatus(&status);
    return (status & DSBSTATUS_PLAYING) != 0;
  }

  static LONG Pan(int32_t slot) {
    LONG pan = 0;
    SoundSlots[slot].buffer->GetPan(&pan);
    return pan;
  }
};

TEST_F(DrawCursorTest, TheFlyShowsEachPictureForThreeFramesStartingTwoIn) {
  for (int index = 0; index < 3; ++index) LoadPlainCursor(index, 32, 32, kColors[index]);
  Cursor.animated = true;
  Cursor.x = 100;
  Cursor.y = 100;
  std::vector<int> shown;
  for (int frame = 0; frame < 12; ++frame) shown.push_back(DrawAndSee());
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 1}));
}

TEST_F(DrawCursorTest, TheBlackOfAPictureLetsTheBackgroundThrough) {
  LoadPlainCursor(0, 32, 32, kColors[0]);
  Cursor.x = 10;
  Cursor.y = 10;
  ClearBackBuffer();
  DrawCursor();
  EXPECT_EQ(PixelAt(Display.backBuffer, 10, 10), kBackground);
  EXPECT_EQ(PixelAt(Display.backBuffer, 11, 10), kColors[0]);
}

TEST_F(DrawCursorTest, TheSwatterSwingsWhileASwatIsOn) {
  LoadSwatter();
  Cursor.x = 200;
  Cursor.y = 100;
  EXPECT_EQ(DrawAndSee(), 0);
  Cursor.swatActive = true;
  EXPECT_EQ(DrawAndSee(), 1);
}

TEST_F(DrawCursorTest, TheSwatterIsDrawnWholeAndCutAtTheLowerEdge) {
  LoadSwatter();
  Cursor.x = 300;
  for (int32_t y : {200, 313}) {
    Cursor.y = y;
    ClearBackBuffer();
    DrawCursor();
    EXPECT_EQ(PictureAt(300 + 5, y + 166), 0) << "all 167 rows at y " << y;
    if (y + 167 < 480) {
      EXPECT_EQ(PictureAt(300 + 5, y + 167), -1);
    }
  }
  Cursor.y = 402;  // the lowest the cursor goes: 78 rows on the screen
  ClearBackBuffer();
  DrawCursor();
  EXPECT_EQ(PictureAt(305, 402), 0);
  EXPECT_EQ(PictureAt(305, 479), 0);
  EXPECT_EQ(PictureAt(305, 401), -1);
}

TEST_F(DrawCursorTest, SwatSoundsAlternateByDrawParityPannedToTheSwatter) {
  LoadSwatter();
  LoadHitSounds();
  Cursor.x = 0;
  Cursor.swatTimer = 10;
  DrawCursor();  // the toggle turns true: the first slot
  EXPECT_TRUE(Playing(HitSound));
  EXPECT_FALSE(Playing(HitSound2));
  EXPECT_EQ(Pan(HitSound), -3000);

  SoundStopAll();
  Cursor.x = 575;
  DrawCursor();  // toggle false: the second slot
  EXPECT_FALSE(Playing(HitSound));
  EXPECT_TRUE(Playing(HitSound2));
  EXPECT_EQ(Pan(HitSound2), 2750);

  // A draw without a swat still flips the toggle, so two swats an even number of draws
  // apart take the same slot.
  SoundStopAll();
  Cursor.swatTimer = 9;
  DrawCursor();
  EXPECT_FALSE(Playing(HitSound) || Playing(HitSound2));
  Cursor.swatTimer = 10;
  Cursor.x = 300;
  DrawCursor();
  EXPECT_FALSE(Playing(HitSound));
  EXPECT_TRUE(Playing(HitSound2));
  EXPECT_EQ(Pan(HitSound2), 0);
}

// The title's fly and the plain picture flip the toggle too, so the draws before play decide
// which slot the first swat takes.
TEST_F(DrawCursorTest, EveryModeFlipsTheToggle) {
  for (int index = 0; index < 3; ++index) LoadPlainCursor(index, 32, 32, kColors[index]);
  LoadHitSounds();
  Cursor.animated = true;
  DrawCursor();
  EXPECT_TRUE(Cursor.soundToggle) << "the title's fly";
  Cursor.animated = false;
  DrawCursor();
  EXPECT_FALSE(Cursor.soundToggle) << "the plain picture";
  DrawCursor();
  Cursor.swatter = true;
  Cursor.swatTimer = 10;
  DrawCursor();  // the fourth draw turns the toggle false: the second slot
  EXPECT_FALSE(Playing(HitSound));
  EXPECT_TRUE(Playing(HitSound2));
}

TEST_F(DrawCursorTest, TheTitleCursorMakesNoSound) {
  for (int index = 0; index < 3; ++index) LoadPlainCursor(index, 32, 32, kColors[index]);
  LoadHitSounds();
  Cursor.animated = true;
  Cursor.swatTimer = 10;
  DrawCursor();
  DrawCursor();
  EXPECT_FALSE(Playing(HitSound) || Playing(HitSound2));
}

}  // namespace
