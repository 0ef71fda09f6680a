// Setting a stage up, played through the whole program: where the flies start, the intro, the
// stage clock, the buzz, and the boss stage's empty field.
#include <gtest/gtest.h>

#include "shell/startup.h"
#include "sound/sound_slots.h"
#include "tests/support/picture_file.h"
#include "tests/support/play_session.h"
#include "tests/support/screen_places.h"
#include "tests/support/state_line_fields.h"

namespace {

using StageSetupTest = PlaySession;

TEST_F(StageSetupTest, AFreshRunPlacesStageOnesFliesAlwaysInTheSamePlacesAndShowsItsIntro) {
  StartGame();
  MoveCursorTo(kPlayButton);
  ClickLeft();
  Frames(1);
  Frames(1);  // the intro, waiting for its click
  EXPECT_EQ(Field(Line(), "flies"),
            "0:130,230,1;1:104,397,0;2:335,100,1;3:492,222,1;4:383,124,1;5:548,289,2;"
            "6:119,239,1");

  // The background, the banner at (0, 0) and the number centred at y 293, black left out.
  const PictureFile background("gfx\\Back1.bmp");
  const PictureFile banner("gfx\\Stage.bmp");
  const PictureFile number("gfx\\1.bmp");
  const int numberX = (640 - number.Width()) / 2;
  const CapturedFrame& intro = HeadlessLastFrame();
  int wrong = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      uint32_t expected = background.At(x, y);
      if (banner.At(x, y) != 0) expected = banner.At(x, y);
      if (x >= numberX && y >= 293 && number.At(x - numberX, y - 293) != 0) {
        expected = number.At(x - numberX, y - 293);
      }
      wrong += intro.At(x, y) != expected;
    }
  }
  EXPECT_EQ(wrong, 0);

  // Half a minute on the intro costs nothing: the clock starts with the click.
  HeadlessClockAdvance(30000);
  ClickAway();
  EXPECT_EQ(IntField(Line(), "left"), 60);
  EXPECT_EQ(BuzzOf(0).volume, 30 * 79 - 3000);
  EXPECT_TRUE(BuzzOf(6).playing);
  EXPECT_FALSE(BuzzOf(7).playing);
}

TEST_F(StageSetupTest, StageSixBuzzesQuietlyAndTheBossStageStartsEmptyAndSilent) {
  StartPlaying();
  PlayFromStage(6);
  EXPECT_EQ(FlyCount, 30);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(BuzzOf(i).volume, 30 * 10 - 3000) << i;
    EXPECT_TRUE(BuzzOf(i).playing) << i;
  }
  CreamStock = 5;
  PlayFromStage(10);
  EXPECT_EQ(FlyCount, 50);
  EXPECT_EQ(Field(Line(), "flies"), "-");
  EXPECT_EQ(IntField(Line(), "cream"), 0);
  EXPECT_EQ(IntsField(Line(), "boss")[0], 50);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(BuzzOf(i).volume, 0) << i;
    EXPECT_FALSE(BuzzOf(i).playing) << i;
  }
}

}  // namespace
