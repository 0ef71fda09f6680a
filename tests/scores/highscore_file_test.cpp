// The highscore table in memory and in Highscore.dat: the default rows, the 400 bytes, short
// and long files, where a game is inserted, and a save that never loses the old file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files/little_endian.h"
#include "platform/seams/headless.h"
#include "scores/highscore_file.h"
#include "scores/highscore_save.h"
#include "scores/highscore_table.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/run_folder.h"

namespace {

namespace fs = std::filesystem;
void SetScores(const std::vector<int32_t>& scores) {
  for (int row = 0; row < 10; ++row) {
    HighscoreTable[row] = HighscoreEntry{};
    std::snprintf(HighscoreTable[row].name, 4, "R%02d", row);
    HighscoreTable[row].score = scores[static_cast<size_t>(row)];
    HighscoreTable[row].swatCounts[0] = row;
  }
}

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const HighscoreEntry& row : HighscoreTable) names.emplace_back(row.name, 3);
  return names;
}

class HighscoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessEnable();
    folder_ = EnterRunFolder();
  }
  fs::path folder_;
};

// Without a file, the saves made during a run wait for a game entered; shutdown's save writes
// the default rows whatever the run entered.
TEST_F(HighscoreFileTest, WithoutAFileShutdownWritesTheDefaultRowsAndEarlierSavesWaitForAGame) {
  LoadHighscores();
  ASSERT_TRUE(SaveNewHighscores());
  EXPECT_FALSE(fs::exists("Highscore.dat"));
  ASSERT_TRUE(SaveHighscores());
  EXPECT_EQ(FileBytes("Highscore.dat"), DefaultFileBytes());
  CurrentGameEntry = HighscoreEntry{};
  std::memcpy(CurrentGameEntry.name, "ABC", 4);
  CurrentGameEntry.score = 7;
  ASSERT_EQ(HighscoreInsert(), 0);
  ASSERT_TRUE(SaveNewHighscores());
  Bytes expected = DefaultFileBytes();
  std::memcpy(expected.data(), "ABC", 4);
  expected[4] = 7;
  EXPECT_EQ(FileBytes("Highscore.dat"), expected);
}

// A umask masking every bit (a browser's C library starts with one) still leaves the first
// file readable and writable by its owner, so the next start reads the name back; the group
// and the others get what the umask gives.
TEST_F(HighscoreFileTest, AFirstSaveUnderAUmaskOfEveryBitIsReadBackAtTheNextStart) {
  for (const mode_t mask : {mode_t{0777}, mode_t{0022}}) {
    fs::remove("Highscore.dat");
    LoadHighscores();
    CurrentGameEntry = HighscoreEntry{};
    std::memcpy(CurrentGameEntry.name, "UMK", 4);
    CurrentGameEntry.score = 9;
    ASSERT_EQ(HighscoreInsert(), 0);
    const mode_t before = umask(mask);
    const bool saved = SaveHighscores();
    umask(before);
    ASSERT_TRUE(saved);
    const auto permissions = fs::status("Highscore.dat").permissions();
    EXPECT_EQ(static_cast<unsigned>(permissions), mask == 0777 ? 0600u : 0644u) << std::oct << mask;
    FillDefaultHighscores();
    LoadHighscores();
    EXPECT_EQ(std::string(HighscoreTable[0].name, 3), "UMK") << std::oct << mask;
  }
}

TEST_F(HighscoreFileTest, SavingAndLoadingGivesBackTheSameBytesWhateverTheValues) {
  Bytes bytes(400);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
  bytes[4] = 0x9C;  // row 0's score: little-endian, negative
  bytes[7] = 0xFF;
  WriteBytes("Highscore.dat", bytes);
  LoadHighscores();
  EXPECT_EQ(HighscoreTable[0].score, static_cast<int32_t>(ReadLe32(&bytes[4])));
  EXPECT_EQ(HighscoreTable[9].swatCounts[7], static_cast<int32_t>(ReadLe32(&bytes[396])));
  EXPECT_EQ(TableBytes(), bytes);
}

// A short file fills as many bytes as it holds; the rest keep what the table held (all zero
// at start-up). A long one gives its first 400 bytes only.
class HighscoreFileSizes : public HighscoreFileTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(HighscoreFileSizes, AreReadAsFarAsTheyGoAndNoFurther) {
  const size_t size = GetParam();
  Bytes file(size);
  for (size_t i = 0; i < size; ++i) file[i] = static_cast<uint8_t>(0xA0 + i % 50);
  WriteBytes("Highscore.dat", file);
  for (HighscoreEntry& row : HighscoreTable) row = HighscoreEntry{};
  LoadHighscores();
  Bytes expected(400, 0);
  std::copy_n(file.begin(), std::min<size_t>(size, 400), expected.begin());
  Bytes table(400);
  EncodeHighscores(table.data());
  EXPECT_EQ(table, expected);
}

INSTANTIATE_TEST_SUITE_P(ShortAndLong, HighscoreFileSizes,
                         ::testing::Values(0, 1, 39, 399, 401, 1024 * 1024));

TEST(HighscoreTableTest, AGameGoesBelowEveryEqualScoreAndPushesTheLastRowOut) {
  SetScores({500, 300, 250, 250, 100, 0, 0, 0, 0, 0});
  CurrentGameEntry = HighscoreEntry{};
  std::memcpy(CurrentGameEntry.name, "   ", 4);
  CurrentGameEntry.score = 250;
  CurrentGameEntry.swatCounts[3] = 7;
  ASSERT_TRUE(HighscoreQualifies());
  EXPECT_EQ(HighscoreInsert(), 4);
  EXPECT_EQ(Names(), (std::vector<std::string>{"R00", "R01", "R02", "R03", "   ", "R04", "R05",
                                                "R06", "R07", "R08"}));
  EXPECT_EQ(HighscoreTable[4].score, 250);
  EXPECT_EQ(HighscoreTable[4].swatCounts[3], 7);
  EXPECT_EQ(HighscoreTable[4].name[3], '\0');

  CurrentGameEntry.score = 501;
  EXPECT_EQ(HighscoreInsert(), 0);
  EXPECT_EQ(Names()[1], "R00");
  EXPECT_EQ(Names()[9], "R07");
}

TEST(HighscoreTableTest, OnlyAScoreAboveRowNineQualifiesAndItReplacesThatRowAlone) {
  SetScores({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  CurrentGameEntry = HighscoreEntry{};
  CurrentGameEntry.score = 50;
  EXPECT_FALSE(HighscoreQualifies());
  CurrentGameEntry.score = 51;
  ASSERT_TRUE(HighscoreQualifies());
  EXPECT_EQ(HighscoreInsert(), 9);
  EXPECT_EQ(Names()[8], "R08");
  EXPECT_EQ(HighscoreTable[9].score, 51);

  FillDefaultHighscores();
  for (int32_t score : {0, -100, INT32_MIN}) {
    CurrentGameEntry.score = score;
    EXPECT_FALSE(HighscoreQualifies()) << score;
  }
  CurrentGameEntry.score = 1;
  EXPECT_TRUE(HighscoreQualifies());
}

// Whatever step of the save fails, the names already kept stay on the disk exactly as they
// were, no temporary file is left beside them, standard error names the file and the reason,
// and the new rows wait for the next save.
class HighscoreSaveFails : public HighscoreFileTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(HighscoreSaveFails, LeavesTheOldFileWholeSaysWhyAndKeepsTheRowsForTheNextSave) {
  Bytes old = DefaultFileBytes();
  old[0] = 'K';
  old[4] = 42;
  WriteBytes("Highscore.dat", old);
  LoadHighscores();
  CurrentGameEntry = HighscoreEntry{};
  std::memcpy(CurrentGameEntry.name, "NEW", 4);
  CurrentGameEntry.score = 9;
  ASSERT_EQ(HighscoreInsert(), 1);
  HeadlessFailStep(GetParam());
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(SaveHighscores());
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(HighscoreSaveFailed);
  EXPECT_EQ(FileBytes("Highscore.dat"), old);
  EXPECT_EQ(said.find("Zimbrel: the highscores could not be saved to " +
                      (fs::current_path() / "Highscore.dat").string() + ": "),
            0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"Highscore.dat", "gfx", "snd"}));
  EXPECT_EQ(Names()[1], "NEW");

  HeadlessClearFailures();
  EXPECT_TRUE(SaveHighscores());
  EXPECT_FALSE(HighscoreSaveFailed);
  Bytes saved = FileBytes("Highscore.dat");
  ASSERT_EQ(saved.size(), 400u);
  EXPECT_EQ(saved[4], 42);
  EXPECT_EQ(std::string(saved.begin() + 40, saved.begin() + 43), "NEW");
  EXPECT_EQ(saved[44], 9);
}

INSTANTIATE_TEST_SUITE_P(EachStep, HighscoreSaveFails,
                         ::testing::Values("CreateTemporaryFile", "WriteTemporaryFile",
                                           "FlushTemporaryFile", "RenameTemporaryFile"));

TEST_F(HighscoreFileTest, ASaveThatCannotReplaceTheFileLeavesNothingBehind) {
  // A folder in the file's place cannot be replaced by a file: the rename itself fails.
  fs::create_directory("Highscore.dat");
  WriteBytes("Highscore.dat/kept", {1, 2, 3});
  FillDefaultHighscores();
  CurrentGameEntry.score = 5;
  HighscoreInsert();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(SaveHighscores());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(": Is a directory"), std::string::npos);
  EXPECT_TRUE(fs::is_directory("Highscore.dat"));
  EXPECT_EQ(FileBytes("Highscore.dat/kept"), (Bytes{1, 2, 3}));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}), 3);
}

}  // namespace
