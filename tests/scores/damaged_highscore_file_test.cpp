// A damaged Highscore.dat through the whole program: the game starts, the highscore screen
// shows the table as far as the file held it, no name is asked for a game never played, and
// shutdown writes the table it holds, 400 bytes (a short file comes back filled with zeros, a
// long one cut to its first 400 bytes); where the table cannot be written, the old file stays
// exactly as it was, nothing is left beside it, and the program says so and ends with status 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "scores/highscore_file.h"
#include "scores/highscore_screen.h"
#include "scores/highscore_table.h"
#include "shell/screens.h"
#include "tests/support/disk_refusal.h"
#include "tests/support/game_session.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/screen_places.h"
#include "tests/support/stderr_pipe.h"

namespace {

namespace fs = std::filesystem;

// A table an earlier run could have kept: named rows, falling scores, counts in every column.
Bytes KeptTable() {
  Bytes bytes(kHighscoreFileBytes, 0);
  for (int row = 0; row < 10; ++row) {
    uint8_t* at = bytes.data() + 40 * row;
    at[0] = 'K';
    at[1] = static_cast<uint8_t>('0' + row);
    at[2] = 'A';
    at[4] = static_cast<uint8_t>(250 - 20 * row);
    at[5] = 3;
    for (int k = 0; k < 8; ++k) at[8 + 4 * k] = static_cast<uint8_t>(row + k);
  }
  return bytes;
}

Bytes Resized(Bytes bytes, size_t size) {
  bytes.resize(size, 0x5A);
  return bytes;
}

struct Damage {
  std::string name;
  Bytes file;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

// The table as the game holds it after start-up: the file's bytes as far as they go, the rest
// as the table was before (all zero).
Bytes ShownBytes(const Bytes& file) {
  Bytes shown(kHighscoreFileBytes, 0);
  std::copy_n(file.begin(), std::min<size_t>(file.size(), shown.size()), shown.begin());
  return shown;
}

std::vector<Damage> Damages() {
  Bytes random(kHighscoreFileBytes);
  std::mt19937 bits(20261208);
  for (uint8_t& byte : random) byte = static_cast<uint8_t>(bits());
  Bytes noZeroBytes = KeptTable();
  for (int row = 0; row < 10; ++row) noZeroBytes[40 * row + 3] = 'Z';
  Bytes belowZero = KeptTable();
  for (int row = 5; row < 10; ++row) belowZero[40 * row + 7] = 0xFF;  // rows 5 to 9 negative
  return {{"Empty", {}},
          {"OneByte", {'Q'}},
          {"Bytes399", Resized(KeptTable(), 399)},
          {"Bytes400", KeptTable()},
          {"Bytes401", Resized(KeptTable(), 401)},
          {"RandomBytes", random},
          {"NamesWithoutZeroByte", noZeroBytes},
          {"ScoresBelowZero", belowZero}};
}

std::vector<std::string> FolderFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(".")) {
    files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class DamagedHighscoreFile : public GameSession {
 protected:
  void StartWith(const Bytes& file) {
    folder_ = EnterRunFolder();
    WriteBytes("Highscore.dat", file);
    driver_.Start();
    Frames(1);
  }
  // The table screen from the title, its rows slid apart, and back to the title.
  void VisitTheTable() {
    MoveCursorTo(kHighscoresButton);
    ClickLeft();
    Frames(14);
    EXPECT_EQ(CurrentScreen, ScreenHighscores);
    EXPECT_FALSE(NameEntryActive) << "a name asked for a game never played";
    Tap(DIK_ESCAPE);
    Frames(2);
    EXPECT_EQ(CurrentScreen, ScreenTitle);
  }
  // Escape on the title, a click on the exit picture.
  void Leave(int exitStatus = 0) {
    Tap(DIK_ESCAPE);
    Frames(2);
    ClickLeft();
    RunToTheEnd();
    EXPECT_EQ(driver_.ExitCode(), exitStatus);
  }
};

class EachDamage : public DamagedHighscoreFile, public ::testing::WithParamInterface<Damage> {};

TEST_P(EachDamage, TheTableShowsWhatTheFileHeldAndShutdownWritesItsFourHundredBytes) {
  const Bytes shown = ShownBytes(GetParam().file);
  StartWith(GetParam().file);
  EXPECT_EQ(TableBytes(), shown);
  VisitTheTable();
  VisitTheTable();  // back from the title, still nothing to name
  EXPECT_EQ(TableBytes(), shown);
  Leave();
  EXPECT_EQ(FileBytes("Highscore.dat"), shown);
  EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"Highscore.dat", "gfx", "snd"}));
}

INSTANTIATE_TEST_SUITE_P(Highscore, EachDamage, ::testing::ValuesIn(Damages()),
                         [](const ::testing::TestParamInfo<Damage>& param) {
                           return param.param.name;
                         });

// A folder in the file's place: no table, so the default one, and the folder never replaced;
// the run entered no name, so it lost nothing and ends with 0, saying why nothing was written.
TEST_F(DamagedHighscoreFile, AFolderOfThatNameGivesTheDefaultTableAndIsKept) {
  folder_ = EnterRunFolder();
  fs::create_directory("Highscore.dat");
  WriteBytes("Highscore.dat/kept", {1, 2, 3});
  driver_.Start();
  Frames(1);
  EXPECT_EQ(TableBytes(), DefaultFileBytes());
  VisitTheTable();
  StderrPipe stderrPipe;
  Leave(0);
  EXPECT_NE(stderrPipe.Said().find(": Is a directory\n"), std::string::npos);
  EXPECT_EQ(FileBytes("Highscore.dat/kept"), (Bytes{1, 2, 3}));
  EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"Highscore.dat", "gfx", "snd"}));
}

// A game entered during the run, and at shutdown the disk will not take it: the old file is
// untouched, standard error says why, and the exit status is 1.
enum class Refusal { DiskTakesNoBytes, TableReadOnly };

class ShutdownCannotWrite : public DamagedHighscoreFile,
                            public ::testing::WithParamInterface<Refusal> {};

TEST_P(ShutdownCannotWrite, LeavesTheOldFileExactlyAsItWasAndSaysSo) {
  const Bytes old = KeptTable();
  StartWith(old);
  CurrentGameEntry = HighscoreEntry{};
  CurrentGameEntry.score = 99999;
  HighscoreInsert();  // a game this run entered
  std::optional<DiskRefusal> refusal;
  std::string reason;
  if (GetParam() == Refusal::DiskTakesNoBytes) {
    refusal.emplace();
    ASSERT_TRUE(refusal->Active());
    reason = "File too large";
  } else {
    fs::permissions("Highscore.dat", fs::perms::owner_read | fs::perms::group_read);
    reason = "Permission denied";
  }
  StderrPipe stderrPipe;
  Leave(1);
  refusal.reset();
  const std::string said = stderrPipe.Said();
  EXPECT_EQ(said, "Zimbrel: the highscores could not be saved to " +
                      (fs::current_path() / "Highscore.dat").string() + ": " + reason + "\n");
  EXPECT_EQ(FileBytes("Highscore.dat"), old);
  EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"Highscore.dat", "gfx", "snd"}));
}

std::string RefusalName(Refusal refusal) {
  return refusal == Refusal::DiskTakesNoBytes ? "DiskTakesNoBytes" : "TableReadOnly";
}
void PrintTo(Refusal refusal, std::ostream* out) { *out << RefusalName(refusal); }

INSTANTIATE_TEST_SUITE_P(Highscore, ShutdownCannotWrite,
                         ::testing::Values(Refusal::DiskTakesNoBytes, Refusal::TableReadOnly),
                         [](const ::testing::TestParamInfo<Refusal>& param) {
                           return RefusalName(param.param);
                         });

}  // namespace
