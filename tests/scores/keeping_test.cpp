// Keeping the names on the disk when more than the game itself touches Highscore.dat: another
// game in the same folder saving meanwhile, two saving at the same moment, a table kept
// elsewhere through a symbolic link, and a table frozen read-only, said on the screen. And the
// game kept as its proof beside the table: the last hundred, and a failed write said.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/seams/headless.h"
#include "replay/kept_games.h"
#include "scores/highscore_file.h"
#include "scores/highscore_save.h"
#include "scores/highscore_screen.h"
#include "tests/support/file_bytes.h"
#include "tests/support/highscore_bytes.h"
#include "tests/support/name_entry_session.h"
#include "tests/support/run_folder.h"
#include "tests/support/stderr_pipe.h"

namespace {

namespace fs = std::filesystem;

// The default file with a row put in.
void PutRow(Bytes& bytes, int row, const char* name, int32_t score) {
  uint8_t* at = bytes.data() + 40 * row;
  std::memcpy(at, name, 4);
  for (int i = 0; i < 4; ++i) {
    at[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(score) >> (8 * i));
  }
}

std::vector<std::string> FileNames(const Bytes& bytes) {
  std::vector<std::string> names;
  for (size_t row = 0; row < 10 && 40 * row + 3 <= bytes.size(); ++row) {
    names.emplace_back(bytes.begin() + 40 * row, bytes.begin() + 40 * row + 3);
  }
  return names;
}

std::vector<std::string> FolderFiles(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Pure red, the colour of the line that says the table could not be saved; no row has it.
bool SaveFailureShown() {
  const CapturedFrame& frame = HeadlessLastFrame();
  for (int y = 420; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      if (frame.At(x, y) == 0xFF0000u) return true;
    }
  }
  return false;
}

class HighscoreKeeping : public NameEntrySession {
 protected:
  void NameTheGame(int32_t score) {
    ASSERT_NO_FATAL_FAILURE(GameEndsWith(score, 0));
    Type(DIK_A);
    Type(DIK_A);
    Type(DIK_A);
    ASSERT_FALSE(NameEntryActive);
  }
  // A game begun with Play after a visit to the credits, and given up with its score put in:
  // a game the keeper follows from its Play click.
  void PlayAndName(int32_t score) {
    MoveCursorTo(kCreditsButton);
    ClickLeft();
    Frames(60);
    Leave();
    MoveCursorTo(kPlayButton);
    ClickLeft();
    Frames(2);
    ClickLeft();  // the intro
    Frames(11);
    ASSERT_EQ(CurrentScreen, ScreenPlay);
    CurrentGameEntry.score = score;
    Tap(DIK_ESCAPE);  // given up: "Surrender !" in an OK box, flipped while it waits
    Frames(2);
    MoveCursorTo(kOkButton);
    ClickLeft();
    Frames(2);
    ASSERT_EQ(CurrentScreen, ScreenHighscores);
    for (int i = 0; i < 3; ++i) Type(DIK_A);
  }
  // From the title: Escape, and a click on the exit picture.
  void LeaveTheGame(int exitStatus) {
    Tap(DIK_ESCAPE);
    Frames(2);
    ClickLeft();
    RunToTheEnd();
    EXPECT_EQ(driver_.ExitCode(), exitStatus);
  }
};

// Game A started on the table below; game B, in the same folder, saved its name since. A's
// name goes in beside B's, each where its score puts it, and A's table shows both from then on.
TEST_F(HighscoreKeeping, AnotherGamesSaveMeanwhileIsKeptBesideOurName) {
  StartGame();
  Bytes theirs = DefaultFileBytes();
  PutRow(theirs, 0, "BBB", 5000);
  PutRow(theirs, 1, "CCC", 100);
  WriteBytes("Highscore.dat", theirs);
  ASSERT_NO_FATAL_FAILURE(NameTheGame(300));
  const Bytes saved = FileBytes("Highscore.dat");
  EXPECT_EQ(FileNames(saved), (std::vector<std::string>{"BBB", "AAA", "CCC", "---", "---", "---",
                                                         "---", "---", "---", "---"}));
  Leave();
  ASSERT_NO_FATAL_FAILURE(VisitTheTable());
  EXPECT_EQ(TableBytes(), saved);
  Leave();
  // Nothing new since: shutdown leaves the file as B may have left it by then.
  Bytes later = saved;
  PutRow(later, 9, "DDD", 1);
  WriteBytes("Highscore.dat", later);
  LeaveTheGame(0);
  EXPECT_EQ(FileBytes("Highscore.dat"), later);
}

// A player keeps the table in another folder and links it in: the link stays, the table it
// points to gets the name, and nothing is left in either folder.
TEST_F(HighscoreKeeping, ASymlinkedTableIsSavedWhereItPointsAndTheLinkStays) {
  StartGame();
  const fs::path elsewhere = folder_ / "synced";
  fs::create_directory(elsewhere);
  Bytes kept = DefaultFileBytes();
  PutRow(kept, 0, "OLD", 900);
  WriteBytes(elsewhere / "table.dat", kept);
  fs::create_symlink("synced/table.dat", "Highscore.dat");
  ASSERT_NO_FATAL_FAILURE(NameTheGame(300));
  EXPECT_TRUE(fs::is_symlink("Highscore.dat"));
  EXPECT_EQ(fs::read_symlink("Highscore.dat"), "synced/table.dat");
  EXPECT_EQ(FileNames(FileBytes(elsewhere / "table.dat"))[1], "AAA");
  EXPECT_EQ(FileNames(FileBytes(elsewhere / "table.dat"))[0], "OLD");
  EXPECT_EQ(FolderFiles(elsewhere), (std::vector<std::string>{"table.dat"}));
  EXPECT_EQ(FolderFiles(folder_),
            (std::vector<std::string>{"Highscore.dat", "gfx", "snd", "synced"}));
  Leave();
  LeaveTheGame(0);
}

// A table frozen read-only is not replaced: the screen says so below the table for as long as
// it holds, standard error names the file and why, and once the table may be written again the
// next save keeps the name and the line goes.
TEST_F(HighscoreKeeping, AFrozenTableIsNotReplacedAndTheScreenSaysSoWhileItHolds) {
  StartGame();
  const Bytes frozen = DefaultFileBytes();
  WriteBytes("Highscore.dat", frozen);
  fs::permissions("Highscore.dat", fs::perms::owner_read | fs::perms::group_read);
  Frames(1);
  EXPECT_FALSE(SaveFailureShown());
  StderrPipe stderrPipe;
  ASSERT_NO_FATAL_FAILURE(NameTheGame(300));
  Frames(1);
  EXPECT_TRUE(SaveFailureShown());
  EXPECT_EQ(stderrPipe.Said(), "Zimbrel: the highscores could not be saved to " +
                                   (fs::current_path() / "Highscore.dat").string() +
                                   ": Permission denied\n");
  EXPECT_EQ(FileBytes("Highscore.dat"), frozen);
  EXPECT_EQ(std::string(HighscoreTable[0].name, 3), "AAA") << "the name still shows";

  fs::permissions("Highscore.dat", fs::perms::owner_write, fs::perm_options::add);
  Leave();  // the save on leaving tries again
  EXPECT_EQ(FileNames(FileBytes("Highscore.dat"))[0], "AAA");
  ASSERT_NO_FATAL_FAILURE(VisitTheTable());
  EXPECT_FALSE(SaveFailureShown());
  Leave();
  LeaveTheGame(0);
}

// Where the folder takes no new file (a shared table in a folder this player may not write, or
// one marked immutable) but Highscore.dat itself may be written, and where the table has a
// second name (a hard link), the save writes the file over in place: the name is kept, every
// name of the file sees it, and nothing is left beside it.
enum class InPlace { FolderRefusesNewFiles, FolderReadOnly, HardLinked };

class HighscoreKeptInPlace : public HighscoreKeeping, public ::testing::WithParamInterface<InPlace> {
 protected:
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    HighscoreKeeping::TearDown();
  }
};

TEST_P(HighscoreKeptInPlace, TheNameIsKeptUnderEveryNameOfTheFile) {
  StartGame();
  WriteBytes("Highscore.dat", DefaultFileBytes());
  std::vector<std::string> files = {"Highscore.dat", "gfx", "snd"};
  if (GetParam() == InPlace::HardLinked) {
    fs::create_hard_link("Highscore.dat", "shared.dat");
    files.insert(files.begin() + 2, "shared.dat");
  } else if (GetParam() == InPlace::FolderRefusesNewFiles) {
    HeadlessFailStep("FolderRefusesNewFiles");
  } else {
    fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write |
                                 fs::perms::others_write, fs::perm_options::remove);
    if (access(folder_.c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
  }
  ASSERT_NO_FATAL_FAILURE(NameTheGame(300));
  EXPECT_FALSE(HighscoreSaveFailed);
  EXPECT_EQ(FileNames(FileBytes("Highscore.dat"))[0], "AAA");
  EXPECT_EQ(FolderFiles(folder_), files);
  if (GetParam() == InPlace::HardLinked) {
    EXPECT_EQ(FileBytes("shared.dat"), FileBytes("Highscore.dat"));
    EXPECT_EQ(fs::hard_link_count("Highscore.dat"), 2u);
  }
  Leave();
  LeaveTheGame(0);
}

INSTANTIATE_TEST_SUITE_P(Highscore, HighscoreKeptInPlace,
                         ::testing::Values(InPlace::FolderRefusesNewFiles, InPlace::FolderReadOnly,
                                           InPlace::HardLinked),
                         [](const ::testing::TestParamInfo<InPlace>& param) {
                           switch (param.param) {
                             case InPlace::FolderRefusesNewFiles: return "FolderRefusesNewFiles";
                             case InPlace::FolderReadOnly: return "FolderReadOnly";
                             default: return "HardLinked";
                           }
                         });

// Another program holds the folder's lock and never lets go (a game hung in its save): the save
// waits a few seconds, not for ever, then goes ahead without the lock and says so.
TEST_F(HighscoreKeeping, ALockHeldForEverOnlyDelaysTheSave) {
  StartGame();
  const int holder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  StderrPipe stderrPipe;
  ASSERT_NO_FATAL_FAILURE(NameTheGame(300));
  EXPECT_EQ(stderrPipe.Said(), "Zimbrel: another program holds the lock on " + folder_.string() +
                                   "; saving without it\n");
  EXPECT_EQ(FileNames(FileBytes("Highscore.dat"))[0], "AAA");
  close(holder);
  Leave();
  LeaveTheGame(0);
}

// Two games that save at the same moment both keep their names: each save reads, merges and
// writes under the folder's lock. Without it, one of each pair of names is lost in most rounds.
TEST(HighscoreSaveRace, TwoGamesSavingAtTheSameMomentBothKeepTheirNames) {
  HeadlessEnable();
  EnterRunFolder();
  constexpr int kRounds = 20;
  int bothKept = 0;
  for (int round = 0; round < kRounds; ++round) {
    WriteBytes("Highscore.dat", DefaultFileBytes());
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t games[2];
    for (int game = 0; game < 2; ++game) {
      games[game] = fork();
      ASSERT_GE(games[game], 0);
      if (games[game] != 0) continue;
      // A game: start-up's table, one game of its own entered, and a save once both are ready.
      close(go[1]);
      LoadHighscores();
      CurrentGameEntry = HighscoreEntry{};
      std::memcpy(CurrentGameEntry.name, game == 0 ? "AAA" : "BBB", 4);
      CurrentGameEntry.score = 100 + game;
      HighscoreInsert();
      char ready;
      const bool started = read(go[0], &ready, 1) == 0;
      _exit(started && SaveHighscores() ? 0 : 1);
    }
    close(go[0]);
    close(go[1]);  // both games go
    for (pid_t game : games) {
      int status = 0;
      ASSERT_EQ(waitpid(game, &status, 0), game);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<std::string> names = FileNames(FileBytes("Highscore.dat"));
    bothKept += names[0] == "BBB" && names[1] == "AAA";
  }
  EXPECT_EQ(bothKept, kRounds);
}

// A kill in the middle of a save leaves its temporary file; the next start removes those older
// than a minute, and nothing else.
TEST(HighscoreLeftovers, StartUpRemovesTheTemporariesOfSavesCutShortOnly) {
  HeadlessEnable();
  EnterRunFolder();
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
  // Old: one cut-short save, and names that only look alike. Young: another game's save.
  for (const char* name : {".Highscore.dat.Ab12Cd", ".Highscore.dat.x1y2z3", ".Highscore.dat.short",
                           "Highscore.dat.Ab12Cd", ".Other.dat.Ab12Cd"}) {
    WriteBytes(name, {1});
  }
  for (const char* name : {".Highscore.dat.Ab12Cd", ".Highscore.dat.short", "Highscore.dat.Ab12Cd",
                           ".Other.dat.Ab12Cd"}) {
    fs::last_write_time(name, old);
  }
  fs::create_directory(".Highscore.dat.Folder");
  fs::last_write_time(".Highscore.dat.Folder", old);
  LoadHighscores();
  EXPECT_EQ(FolderFiles("."), (std::vector<std::string>{
                                  ".Highscore.dat.Folder", ".Highscore.dat.short",
                                  ".Highscore.dat.x1y2z3", ".Other.dat.Ab12Cd",
                                  "Highscore.dat.Ab12Cd", "gfx", "snd"}));
}

}  // namespace

// A named game is kept as its proof in replays/, from the flip after its Play click (nothing of
// the credits before) to the flip after its name, beside a hundred older ones: the oldest goes,
// the player's own file stays. Where the proof cannot be written, standard error says so and
// the table is saved as ever.
TEST_F(HighscoreKeeping, ANamedGameIsKeptAsItsProofAndAFailedWriteCostsNothing) {
  KeepGames();
  StartGame();
  fs::create_directory("replays");
  for (int old = 0; old < 100; ++old) {
    WriteText("replays/2000-01-01_00-00-" + std::string(old < 10 ? "0" : "") + std::to_string(old) +
                  "_OLD_1.replay",
              "");
  }
  WriteText("replays/mine.txt", "");
  ASSERT_NO_FATAL_FAILURE(PlayAndName(300));
  Frames(1);
  const std::vector<std::string> kept = FolderFiles("replays");
  ASSERT_EQ(kept.size(), 101u);
  EXPECT_EQ(kept[0], "2000-01-01_00-00-01_OLD_1.replay");
  EXPECT_TRUE(kept[99].ends_with("_AAA_300.replay")) << kept[99];
  EXPECT_EQ(kept[100], "mine.txt");
  const std::vector<std::string> proof = FileLines("replays/" + kept[99]);
  ASSERT_GT(proof.size(), 5u);
  const std::string claim = "# proves: AAA score 300 swats 0,0,0,0,0,0,0,0 stage 1 flip ";
  EXPECT_EQ(proof[1], "# program: zimbrel " ZIMBREL_VERSION " desktop");
  ASSERT_TRUE(proof[2].starts_with(claim)) << proof[2];
  const uint64_t named = std::stoull(proof[2].substr(claim.size()));
  // From the start line's flip on, the credits well behind, the table as the game began.
  ASSERT_TRUE(proof[3].starts_with("start ")) << proof[3];
  const uint64_t start = std::stoull(proof[3].substr(6));
  EXPECT_GT(start, 10u);
  EXPECT_TRUE(proof[4].starts_with("highscores 2d2d2d00")) << proof[4];
  EXPECT_GE(std::stoull(proof[5]), start);
  EXPECT_EQ(proof.back(), std::to_string(named + 1) + " end");

  fs::remove_all("replays");
  WriteText("replays", "not a folder");
  Leave();
  StderrPipe stderrPipe;
  ASSERT_NO_FATAL_FAILURE(PlayAndName(400));
  Frames(1);
  const std::string said = stderrPipe.Said();
  EXPECT_TRUE(said.starts_with("Zimbrel: the game could not be kept in " +
                               (fs::current_path() / "replays").string() + "/"))
      << said;
  EXPECT_TRUE(said.ends_with("_AAA_400.replay: Not a directory\n")) << said;
  EXPECT_EQ(FileNames(FileBytes("Highscore.dat"))[0], "AAA");
  EXPECT_FALSE(HighscoreSaveFailed);
  Leave();
  LeaveTheGame(0);
}
