// A whole visit to the game in a real window, as a player makes it, through the built
// `zimbrel` and nothing else: the title, the credits, a game of swats and cream given up with
// "Surrender !", the name typed into the highscore table, the table from the title, and out
// through the exit picture; its sound played to a file. The game it kept as its proof is then
// checked by zimbrel-replay verify, as kept and as a cheat would change it. The docs'
// screenshots are copies of three of the screenshots it keeps (the title, the stage, the table
// from the title).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/file_bytes.h"
#include "tests/support/leaderboard_run.h"
#include "tests/support/game_text.h"
#include "tests/support/real_window_player.h"
#include "tests/support/replay_tool_run.h"
#include "tests/support/screen_places.h"

namespace fs = std::filesystem;

namespace {

// The ways a cheat would change a kept game, each with what verify must say of it.
struct Cheat {
  const char* what;
  std::function<std::string(const std::string&)> change;
  std::vector<std::string> refusals;  // what verify says, one of these
};

std::vector<Cheat> Cheats(int score) {
  const std::regex claimedScore("^(# proves: K9A score )-?[0-9]+");
  const std::regex clock("^([0-9]+ [0-9]+ clock )([0-9]+)$");
  const std::regex press("^[0-9]+ [0-9]+ mouse -?[0-9]+ -?[0-9]+ 1 [01]$");
  auto clockStarted = std::make_shared<bool>(false);
  auto swatTakenOut = std::make_shared<bool>(false);
  auto firstReading = std::make_shared<std::optional<long long>>();
  return {
      {"a raised score",
       [=](const std::string& line) {
         std::smatch found;
         if (!std::regex_search(line, found, claimedScore)) return line;
         return found[1].str() + std::to_string(score + 50000) + found.suffix().str();
       },
       {"the replay gives " + ShownScore(score) + ", the file claims " + ShownScore(score + 50000)}},
      {"a swat taken out",
       [=](const std::string& line) {
         // The first press of the left button once the stage clock runs.
         *clockStarted = *clockStarted || std::regex_match(line, clock);
         if (*swatTakenOut || !*clockStarted || !std::regex_match(line, press)) return line;
         *swatTakenOut = true;
         return std::string();
       },
       // A miss taken out raises the score; a kill taken out may leave none to enter.
       {"game 1 (K9A): the replay gives ",
        "the file claims 1 game, the replay enters 0 in the table"}},
      {"a clock slowed by a tenth",
       [=](const std::string& line) {
         std::smatch found;
         if (!std::regex_match(line, found, clock)) return line;
         const long long reading = std::stoll(found[2]);
         if (!firstReading->has_value()) *firstReading = reading;
         return found[1].str() +
                std::to_string(**firstReading + (reading - **firstReading) * 9 / 10);
       },
       {"the rules clock advances"}},
      {"another name",
       [](const std::string& line) {
         return std::regex_replace(line, std::regex("^# proves: K9A "), "# proves: ZZZ ");
       },
       {"the replay gives the name K9A, the file claims ZZZ"}},
  };
}

class RealWindowPlay : public RealWindowPlayer {
 protected:
  LeaderboardRun leaderboard_;

  // The game's one proof in replays/ claims the row the table shows, verify proves it (and
  // finds nothing in its play that a leaderboard's review would hold), and refuses each cheat
  // for what it is.
  void ExpectTheGameKeptAsItsProof() {
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(game_.Folder() / "replays")) {
      if (entry.is_regular_file()) kept.push_back(entry.path());  // not unsent/, the sender's
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(kept[0].filename().string(),
                         std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}_K9A_" +
                                    std::to_string(score_) + "\\.replay")))
        << kept[0];
    const std::string proof = FileText(kept[0]);
    std::string line;
    std::string swats;
    for (int count : swatCounts_) swats += (swats.empty() ? "" : ",") + std::to_string(count);
    EXPECT_NE(proof.find("\n# proves: K9A score " + std::to_string(score_) + " swats " + swats +
                         " stage 1 flip "),
              std::string::npos)
        << proof.substr(0, 400);
    // From its start line on: nothing of the credits before it.
    const size_t start = proof.find("\nstart ");
    ASSERT_NE(start, std::string::npos) << proof.substr(0, 400);
    const uint64_t startFlip = std::stoull(proof.substr(start + 7, 20));
    EXPECT_GT(startFlip, 60u) << "the credits shown for a second at least";
    for (std::istringstream lines(proof.substr(start + 1)); std::getline(lines, line);) {
      if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
        EXPECT_GE(std::stoull(line), startFlip) << line;
      }
    }
    fs::current_path(game_.Folder());
    WriteText("proof.replay", proof);
    ReplayToolRun run = RunReplayTool({"analyze", "proof.replay"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.output.find("proof.replay: K9A shows nothing no hand gives\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("proof.replay: K9A "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("proof.replay: proves what it claims\n"), std::string::npos);
    for (const Cheat& cheat : Cheats(score_)) {
      WriteText("cheat.replay", EachLineChanged(proof, cheat.change));
      run = RunReplayTool({"verify", "cheat.replay"});
      EXPECT_EQ(run.exitCode, 1) << cheat.what << ": " << run.output;
      EXPECT_TRUE(std::any_of(cheat.refusals.begin(), cheat.refusals.end(),
                              [&run](const std::string& refusal) {
                                return run.errors.find(refusal) != std::string::npos;
                              }))
          << cheat.what << ": " << run.errors;
    }
  }

  // The leaderboard played the proof again and ranks the game as the table shows it; the game
  // said so, and left nothing waiting.
  void ExpectTheLeaderboardRanksIt() {
    const std::optional<nlohmann::json> top = leaderboard_.WaitForGames(1);
    ASSERT_TRUE(top) << leaderboard_.Log();
    const nlohmann::json& game = (*top)["games"][0];
    EXPECT_EQ(game["name"], "K9A");
    EXPECT_EQ(game["score"], score_);
    EXPECT_EQ((game["swats"].get<std::array<int, 8>>()), swatCounts_);
    // The sender says it once it has the answer, which may come after the game has ended.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (game_.Output().find(" ranks K9A (") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_NE(game_.Output().find("Zimbrel: the leaderboard at " + leaderboard_.Url() + " ranks K9A (" +
                                  ShownScore(score_) + ") 1 of 1\n"),
              std::string::npos)
        << game_.Output();
    EXPECT_TRUE(fs::is_empty(game_.Folder() / "replays/unsent"));
  }

  Image CreditsList() const {
    static const char* const kLines[18] = {
        "Lead Programmers : Quarrendel",      "AI Programmers : Quarrendel",
        "GFX Programmers : Quarrendel",       "Art Directors : Quarrendel",
        "Ex. Producers : Quarrendel",         "Battle System Designers : Quarrendel",
        "Lead Testers : Quarrendel",          "Assistant Managers : Quarrendel",
        "Coordination Director : Quarrendel", "Qlt. Assurance Managers : Quarrendel",
        "Chief Engeneers : Quarrendel",       "Editors : Quarrendel",
        "Level Designers : Quarrendel",       "Artworkers : Quarrendel",
        "Event Directors : Quarrendel",       "Product Analysts : Quarrendel",
        "Charakter Modellers : Quarrendel",   "Senior Softw. Engs. : Quarrendel"};
    std::vector<GameText> texts;
    for (int line = 1; line <= 18; ++line) {
      // Yellow, then red and green fading together by 10 a line.
      const uint32_t level = line <= 2 ? 255 : static_cast<uint32_t>(255 - 10 * (line - 1));
      texts.push_back({kLines[line - 1], 50, 30 + 20 * line, level << 8 | level});
    }
    return WithGameTexts(Image(kGameWidth, kGameHeight), texts);
  }

  // What the game said beyond the disk audio driver's note of where it writes.
  std::string UnexpectedOutput() const {
    std::istringstream output(game_.Output());
    std::string line;
    std::string unexpected;
    while (std::getline(output, line)) {
      const bool diskDriver =
          line == "CRITICAL: You are using the SDL disk i/o audio driver!" ||
          line == "CRITICAL:  Writing to file [" + sound_.File().string() + "].";
      const bool ranked = line.rfind("Zimbrel: the leaderboard at " + leaderboard_.Url() + " ranks K9A (", 0) == 0;
      if (!diskDriver && !ranked) unexpected += line + "\n";
    }
    return unexpected;
  }
};

TEST_F(RealWindowPlay, APlayerSwatsGivesUpTypesANameLooksAroundAndLeaves) {
  // The game sends what it keeps to a leaderboard on this machine.
  ASSERT_NO_FATAL_FAILURE(leaderboard_.Start());
  ASSERT_NO_FATAL_FAILURE(Start({"zimbrel", "--leaderboard", leaderboard_.Url()}));
  // The credits first: the game's proof starts at its Play click and holds none of them.
  ASSERT_NO_FATAL_FAILURE(ClickOnTitle(kCreditsButton, "Credits"));
  // The sweep uncovers the list from the top, a row a frame: the first lines stand early.
  ASSERT_TRUE(See("the credits, the first lines swept open",
                  ShowsOneOf({CreditsList()}, {0, 0, kGameWidth, 112})));
  game_.PressKey("Escape");
  hand_.MoveTo({0, 0});
  ASSERT_NO_FATAL_FAILURE(StartAGame());

  // The first frames of play: the swatter where the fly cursor clicked, the flies out.
  ASSERT_TRUE(See("stage 1 with its flies, the display and the swatter", PlayScreen(0, 1, 4)));
  const std::uintmax_t buzzFrom = sound_.Played();
  EXPECT_GE(*secondsLeft_, 50) << "the stage clock starts when the intro is clicked away";
  const int firstSeconds = *secondsLeft_;
  hand_.MoveTo({300, 200});
  ASSERT_TRUE(See("the swatter moved with the mouse", PlayScreen(0, 1)));

  ASSERT_NO_FATAL_FAILURE(SwatUntilTheScoreIsAboveZero());
  ASSERT_NO_FATAL_FAILURE(DropCream());
  // Swats and cream can all fall within the stage's first second: wait for the next one.
  ASSERT_TRUE(See("the seconds counting down", [this, firstSeconds](const Image& screenshot) {
    const ::testing::AssertionResult shown = SecondsShow(GamePictureOf(screenshot));
    if (!shown || *secondsLeft_ < firstSeconds) return shown;
    return ::testing::AssertionFailure() << "still " << *secondsLeft_ << " seconds left";
  }));
  const std::uintmax_t buzzTo = sound_.Played();
  EXPECT_GE(sound_.BytesBetween(buzzFrom, buzzTo), DiskSound::kQuarterSecond);
  EXPECT_GT(sound_.SoundingShare(buzzFrom, buzzTo), 0.9) << "the flies buzz while they live";

  ASSERT_NO_FATAL_FAILURE(GiveUp());
  // The score beats the table's last row: straight on to the name, in row 0.
  const std::string name = "K9A";
  ASSERT_NO_FATAL_FAILURE(TypeName(name, {"k", "9", "a"}));
  const Image table = HighscoreTable(TableWithThisGame(name), std::nullopt);
  ASSERT_TRUE(See("the name complete, no marker", ShowsOneOf({table})));
  HoldKey("Escape");
  ASSERT_TRUE(See("the title again", TitleWithFlyCursorAt(game_, kOkButton.x, kOkButton.y)));

  ASSERT_NO_FATAL_FAILURE(ClickOnTitle(kHighscoresButton, "Highscores"));
  ASSERT_TRUE(See("the highscore table from the title", ShowsOneOf({table})));
  HoldKey("Escape");
  ASSERT_NO_FATAL_FAILURE(LeaveThroughTheExit());

  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), HighscoreFileWithThisGame(name));
  ExpectTheGameKeptAsItsProof();
  ExpectTheLeaderboardRanksIt();
  const std::uintmax_t silenceFrom = soundStoppedAt_ + DiskSound::kQuarterSecond;
  EXPECT_GE(sound_.BytesBetween(silenceFrom, UINTMAX_MAX), DiskSound::kQuarterSecond);
  EXPECT_EQ(sound_.SoundingShare(silenceFrom, UINTMAX_MAX), 0.0)
      << "the surrender stopped every buzz, and nothing sounds after it";
  EXPECT_EQ(UnexpectedOutput(), "");
}

// The game under way is not entered (its name was never asked for): shutdown writes the table
// as it was.
TEST_F(RealWindowPlay, TheWindowManagersCloseInTheMiddleOfAStageEndsTheGame) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(StartAGame());
  ASSERT_TRUE(See("stage 1 under way", PlayScreen(0, 1, 4)));
  game_.SendWindowClose();
  EXPECT_EQ(game_.WaitForExit(), 0) << game_.Output();
  EXPECT_EQ(FileBytes(game_.Folder() / "Highscore.dat"), DefaultFileBytes());
}

}  // namespace
