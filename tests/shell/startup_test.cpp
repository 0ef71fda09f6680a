// Start-up of the whole program: its failures, and where the pictures and sounds land.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "graphics/display.h"
#include "scores/highscore_table.h"
#include "shell/startup.h"
#include "shell/win_main.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_driver.h"
#include "tests/support/run_folder.h"

namespace {

// Starts the program and runs it to its first frame, or to its end when start-up fails.
void StartGame(GameDriver& driver) {
  driver.Start();
  driver.RunUntil([] { return HeadlessFrameCount() > 0; }, 1000);
}

TEST(StartUpTest, WithEveryFileTheSoundsTakeTheirSlotsInOrder) {
  EnterRunFolder();
  GameDriver driver;
  StartGame(driver);
  ASSERT_FALSE(driver.Finished());
  EXPECT_EQ(HitSound, 0);
  EXPECT_EQ(HitSound2, 1);
  EXPECT_EQ(FlySound, 2);
  EXPECT_EQ(WaspBuzz, 3);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(FlyBuzz[i], 4 + i);
  EXPECT_EQ(AuSound, 54);
  EXPECT_EQ(GoSound, 55);
  for (int number = 1; number <= 33; ++number) EXPECT_NE(ImageSlots[number], nullptr) << number;
  EXPECT_EQ(ImageSlots[34], nullptr);
  EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST(StartUpTest, MissingFilesLeaveTheirNumbersEmptyAndStartUpGoesOn) {
  EnterRunFolder({"snd/Fly.WAV", "gfx/Wesp.bmp"});
  GameDriver driver;
  StartGame(driver);
  ASSERT_FALSE(driver.Finished());
  EXPECT_EQ(HitSound, 0);
  EXPECT_EQ(HitSound2, 1);
  EXPECT_EQ(FlySound, -1);
  EXPECT_EQ(WaspBuzz, -1);
  for (int32_t buzz : FlyBuzz) EXPECT_EQ(buzz, -1);
  EXPECT_EQ(AuSound, 2);
  EXPECT_EQ(GoSound, 3);
  EXPECT_EQ(ImageSlots[27], nullptr);
  EXPECT_NE(ImageSlots[28], nullptr);
  EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST(StartUpTest, WithoutASoundDeviceTheOnlyBoxSaysSoAndTheDisplayIsUntouched) {
  EnterRunFolder();
  GameDriver driver;
  HeadlessFailStep("DirectSoundCreate");
  StartGame(driver);
  ASSERT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitCode(), 0);
  ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
  EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Unable to Init DirectSound");
  EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Fehler Fehler Fehler !!!");
  EXPECT_EQ(HeadlessMessageBoxes()[0].style, 0x30u);  // a warning with the one OK button
  EXPECT_TRUE(DisplayModeRequests().empty());
  EXPECT_EQ(HeadlessFrameCount(), 0u);
}

TEST(StartUpTest, WithoutInputTheBoxComesAfterTheDisplayHasSwitched) {
  EnterRunFolder();
  GameDriver driver;
  HeadlessFailStep("AcquireMouse");
  StartGame(driver);
  ASSERT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitCode(), 0);
  ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
  EXPECT_EQ(HeadlessMessageBoxes()[0].text, "DirectInput Error");
  ASSERT_EQ(DisplayModeRequests().size(), 1u);
  EXPECT_EQ(DisplayModeRequests()[0].width, 640u);
  EXPECT_EQ(DisplayModeRequests()[0].height, 480u);
  EXPECT_EQ(DisplayModeRequests()[0].bitsPerPixel, 32u);
  // A failed start-up shuts nothing down: the desktop's mode is never asked back.
  EXPECT_NE(Display.directDraw, nullptr);
}

struct FailingSteps {
  std::vector<const char*> steps;
  const char* message;
};

void PrintTo(const FailingSteps& steps, std::ostream* out) { *out << steps.message; }

class StartUpFails : public ::testing::TestWithParam<FailingSteps> {};

// Each device step that fails shows its own message alone and ends the program with 0; the
// highscore file is neither read nor written.
TEST_P(StartUpFails, ShowsOneBoxEndsWithZeroAndLeavesTheHighscoresAlone) {
  EnterRunFolder();
  const Bytes kept(400, 'Z');
  WriteBytes("Highscore.dat", kept);
  const auto written = std::filesystem::last_write_time("Highscore.dat");
  GameDriver driver;
  for (const char* step : GetParam().steps) HeadlessFailStep(step);
  driver.Start();
  driver.RunUntil([] { return false; }, 1000);
  ASSERT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitCode(), 0);
  ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
  EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Fehler Fehler Fehler !!!");
  EXPECT_EQ(HeadlessMessageBoxes()[0].text, GetParam().message);
  EXPECT_EQ(HeadlessFrameCount(), 0u);
  EXPECT_EQ(HighscoreTable[0].score, 0);  // never read
  EXPECT_EQ(FileBytes("Highscore.dat"), kept);
  EXPECT_EQ(std::filesystem::last_write_time("Highscore.dat"), written);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, StartUpFails,
    ::testing::Values(
        FailingSteps{{"DirectSoundCreate"}, "Unable to Init DirectSound"},
        FailingSteps{{"DirectDrawCreateEx"}, "Unable to Init DirectDraw"},
        FailingSteps{{"SetCooperativeLevel"}, "Unable to Set Coorporation Level"},
        FailingSteps{{"SetDisplayMode32", "SetDisplayMode24"}, "Unable to set Display Mode"},
        FailingSteps{{"CreatePrimarySurface"}, "Unable to create Primary Surface"},
        FailingSteps{{"GetAttachedSurface"}, "Unable to create BackBuffer"},
        FailingSteps{{"DirectInputCreateA"}, "DirectInput Error"}),
    [](const ::testing::TestParamInfo<FailingSteps>& param) {
      return std::string(param.param.steps.back());
    });

TEST(StartUpTest, AWindowThatCannotBeMadeEndsTheProgramWithoutAMessage) {
  GameDriver driver;
  HeadlessFailStep("CreateWindowExA");
  StartGame(driver);
  ASSERT_TRUE(driver.Finished());
  EXPECT_EQ(driver.ExitCode(), 0);
  EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

}  // namespace
