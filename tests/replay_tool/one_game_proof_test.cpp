// A kept game's proof holds that game alone, from the flip after its Play click: checked by
// itself it gives the game as its whole session played it (name, score, swats, stage and flip,
// and for a golden replay its play's key too), for every golden replay and for half an hour of
// the scripted player's games back to back. And its start line changed in any one field gives
// another game, the same play under the same key (so that a leaderboard ranks it once), another
// play where the reads themselves change, or is refused with the file, the line and what is
// wrong.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/seams/game_named.h"
#include "platform/seams/headless.h"
#include "platform/win32/win.h"
#include "replay/kept_games.h"
#include "replay/proof_check.h"
#include "replay/replay_player.h"
#include "replay/scratch_folder.h"
#include "shell/win_main.h"
#include "tests/support/file_bytes.h"
#include "tests/support/golden_replays.h"
#include "tests/support/run_folder.h"
#include "tools/autoplay/scripted_player.h"
#include "tools/replay/soak_run.h"

namespace {

namespace fs = std::filesystem;

const fs::path kGoldens = GoldenReplaysFolder();
constexpr char kScripted[] = "half_an_hour_scripted";

std::vector<std::string> Sessions() {
  std::vector<std::string> names = GoldenReplayNames();
  names.push_back(kScripted);
  return names;
}

std::string named;
int keptCount = 0;
void NoteNamed(const NamedGame& game) { named += ShownGame(ProvenGameOf(game)) + "\n"; }
void CopyKept(const std::string& path) {
  char copy[32];
  std::snprintf(copy, sizeof copy, "kept/%04d.replay", keptCount++);
  fs::copy_file(path, copy);
}

// The whole session, played once with the rules only in a child process (the game's records
// are process-wide, and the checks below fork from a process that never played): every game
// kept as the game keeps it, its proof copied to kept/ as it comes, the games named, as verify
// shows them, in named.txt.
void PlayTheSession(const std::string& session) {
  fs::create_directory("kept");
  const pid_t child = fork();
  if (child == 0) {
    HeadlessEnable();
    HeadlessDrawNothing();
    if (session == kScripted) {
      SoakStart(30, false);
      KeepGames({ScriptedPlayerAnswer, true, false});
    } else {
      std::string error;
      std::optional<Replay> replay = LoadReplay(kGoldens / (session + ".replay"), &error);
      if (!replay || !PlaceStartingTable(*replay, &error)) _exit(3);
      ReplayPlayerStart(std::move(*replay), ReplayPlayerOptions{false, ReplayRecorderHear});
      KeepGames({nullptr, true, false, true});
    }
    AddGameNamedObserver(NoteNamed);
    AddProofKeptObserver(CopyKept);
    char commandLine[] = "";
    WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, 1);
    WriteText("named.txt", named);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

std::vector<fs::path> KeptProofs() {
  std::vector<fs::path> proofs;
  for (const auto& entry : fs::directory_iterator("kept")) proofs.push_back(entry.path());
  std::sort(proofs.begin(), proofs.end());
  return proofs;
}

ProofVerdict Check(const std::string& text, const std::string& name) {
  return CheckProof(text, name, ProofCheckLimits{fs::current_path().string(), 30});
}

class OneGameProof : public ::testing::TestWithParam<std::string> {};

TEST_P(OneGameProof, EachGameAloneIsThatGameOfTheWholeSession) {
  EnterRunFolder();
  ASSERT_NO_FATAL_FAILURE(PlayTheSession(GetParam()));
  const std::vector<std::string> games = FileLines("named.txt");
  const std::vector<fs::path> proofs = KeptProofs();
  ASSERT_EQ(proofs.size(), games.size());
  std::vector<ProvenGame> alone;
  std::vector<std::string> texts;
  std::vector<ProofVerdict> cold;
  for (size_t k = 0; k < proofs.size(); ++k) {
    SCOPED_TRACE(proofs[k].string());
    texts.push_back(FileText(proofs[k]));
    cold.push_back(Check(texts.back(), "proof"));
    ASSERT_EQ(cold.back().outcome, ProofOutcome::Proven) << cold.back().reason;
    ASSERT_EQ(cold.back().games.size(), 1u);
    EXPECT_EQ(ShownGame(cold.back().games[0]), games[k]);
    alone.push_back(cold.back().games[0]);
  }
  if (GetParam() == kScripted) {
    EXPECT_GE(alone.size(), 30u) << "half an hour of games, those that entered the table kept";
  } else {
    // The whole golden checked gives the same games, down to the keys of their plays.
    texts.push_back(FileText(kGoldens / (GetParam() + ".replay")));
    cold.push_back(Check(texts.back(), "proof"));
    EXPECT_EQ(cold.back().games, alone);
    // And from a table of ten rows of 250,000 points, which no golden game enters.
    const std::string row = "4141410090d00300" + std::string(64, '0');
    std::string table = "highscores ";
    for (int k = 0; k < 10; ++k) table += row;
    texts.push_back(texts.back());
    texts.back().insert(texts.back().find('\n') + 1, table + "\n");
    cold.push_back(Check(texts.back(), "proof"));
  }
  // The same proofs one after another in one warm process (this one, which has played nothing
  // until now) give the same verdicts, each on its own.
  size_t next = 0;
  CheckProofsWarm(
      ProofCheckLimits{fs::current_path().string(), 30},
      [&]() -> std::optional<std::string> { return next < texts.size() ? std::optional(texts[next]) : std::nullopt; },
      [&](const ProofVerdict& warm) {
        EXPECT_EQ(warm.outcome, cold[next].outcome) << next;
        EXPECT_EQ(warm.reason, cold[next].reason) << next;
        EXPECT_EQ(warm.games, cold[next].games) << next;
        return ++next < texts.size();
      });
  EXPECT_EQ(next, texts.size());
}

INSTANTIATE_TEST_SUITE_P(Each, OneGameProof, ::testing::ValuesIn(Sessions()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.param;
                         });

// One field of the start line, changed: the flip it starts at, or what it carried.
enum class Gives { AnotherGame, ThePlay, AnotherPlay, Refusal };
struct Doctoring {
  const char* what;
  int64_t flipBy;
  std::function<void(CarriedState&)> change;
  Gives gives;
  std::string refusal = "";
};

TEST(OneGameProofStart, EachFieldChangedGivesAnotherGameThePlayItselfOrARefusal) {
  EnterRunFolder();
  ASSERT_NO_FATAL_FAILURE(PlayTheSession("whole_game"));
  const std::string kept = FileText(KeptProofs().at(0));
  std::string error;
  const std::optional<Replay> replay = ParseReplay(kept, "kept.replay", &error);
  ASSERT_TRUE(replay && replay->start) << error;
  const ReplayStart start = *replay->start;
  const ProofVerdict original = Check(kept, "kept.replay");
  ASSERT_EQ(original.outcome, ProofOutcome::Proven) << original.reason;
  const auto same = [](CarriedState&) {};
  const std::string refused = "kept.replay:4: the start line: ";
  std::vector<Doctoring> cases = {
      {"a flip later", 1, same, Gives::AnotherGame},
      {"a flip earlier", -1, same, Gives::AnotherGame},
      {"a number more drawn", 0, [](CarriedState& c) { c.randCalls += 1; }, Gives::AnotherGame},
      {"the cursor to the right", 0, [](CarriedState& c) { c.cursorX += 2; }, Gives::AnotherGame},
      {"the cursor lower", 0, [](CarriedState& c) { c.cursorY += 2; }, Gives::AnotherGame},
      {"the hurt boss", 0, [](CarriedState& c) { c.bossHitTimer = 11 - c.bossHitTimer; },
       Gives::AnotherGame},
      // What this game never comes to read.
      {"the swat active", 0, [](CarriedState& c) { c.swatActive = !c.swatActive; }, Gives::ThePlay},
      {"the swat's timer", 0, [](CarriedState& c) { c.swatTimer = 10 - c.swatTimer; },
       Gives::ThePlay},
      {"the boss's frame", 0, [](CarriedState& c) { c.bossFrame = (c.bossFrame + 1) % 3; },
       Gives::ThePlay},
      {"the picture's timer", 0, [](CarriedState& c) { c.effectTimer = 10 - c.effectTimer; },
       Gives::ThePlay},
      {"the picture", 0, [](CarriedState& c) { c.effectKind = (c.effectKind + 1) % 9; },
       Gives::ThePlay},
      {"the swat's hits", 0, [](CarriedState& c) { c.swatHits += 1; }, Gives::ThePlay},
      {"the wasp hit", 0, [](CarriedState& c) { c.waspHit = !c.waspHit; }, Gives::ThePlay},
      // Held at the start, they are what the first reads answer.
      {"the right button", 0, [](CarriedState& c) { c.rightHeld = !c.rightHeld; },
       Gives::AnotherPlay},
      {"a key held", 0, [](CarriedState& c) { c.keys.push_back(57); }, Gives::AnotherPlay},
      {"the left button held", 0, [](CarriedState& c) { c.leftHeld = true; }, Gives::Refusal,
       refused + "the left button is held, where a Play click has just let it go"},
      {"a swat armed", 0, [](CarriedState& c) { c.swatArmed = true; }, Gives::Refusal,
       refused + "a swat is armed, where the Play click's press has just taken it"},
      {"off the Play button", 0, [](CarriedState& c) { c.cursorY = 300; }, Gives::Refusal,
       refused + "the cursor at (" + std::to_string(start.carried.cursorX) +
           ", 300) is not on the Play button, where a game begins"},
      {"a timer no game leaves", 0, [](CarriedState& c) { c.swatTimer = -1; }, Gives::Refusal,
       refused + "the swat's timer -1 lies outside 0 to 10"},
      {"a timer past a swat's", 0, [](CarriedState& c) { c.swatTimer = 11; }, Gives::Refusal,
       refused + "the swat's timer 11 lies outside 0 to 10"},
      {"a generator never started", 0, [](CarriedState& c) { c.randCalls = 0; }, Gives::Refusal,
       refused + "the generator's count 0 lies outside 1 to 4294967295"},
  };
  // One past the top of each counter the game keeps: refused, naming it.
  for (const auto& [field, top, name] :
       {std::tuple{&CarriedState::bossFrame, 2, "the boss's frame"},
        std::tuple{&CarriedState::bossHitTimer, 11, "the hurt boss's timer"},
        std::tuple{&CarriedState::effectTimer, 10, "the swat picture's timer"},
        std::tuple{&CarriedState::effectKind, 8, "the swat picture"},
        std::tuple{&CarriedState::swatHits, 52, "the swat's hits"}}) {
    const int32_t past = top + 1;
    cases.push_back({name, 0, [field = field, past](CarriedState& c) { c.*field = past; },
                     Gives::Refusal,
                     refused + name + " " + std::to_string(past) + " lies outside 0 to " +
                         std::to_string(top)});
  }
  for (const Doctoring& doctoring : cases) {
    SCOPED_TRACE(doctoring.what);
    ReplayStart changed = start;
    changed.flip += doctoring.flipBy;
    doctoring.change(changed.carried);
    std::string startLine = ReplayStartText(changed);
    startLine.pop_back();
    const std::string text = EachLineChanged(kept, [&](const std::string& line) {
      return line.starts_with("start ") ? startLine : line;
    });
    ASSERT_NE(text, kept);
    const ProofVerdict verdict = Check(text, "kept.replay");
    switch (doctoring.gives) {
      case Gives::Refusal:
        EXPECT_EQ(verdict.outcome, ProofOutcome::NotProven);
        EXPECT_EQ(verdict.reason, doctoring.refusal);
        break;
      case Gives::AnotherGame:  // the game its claims name is not the one it plays
        EXPECT_EQ(verdict.outcome, ProofOutcome::NotProven) << verdict.reason;
        break;
      case Gives::ThePlay:
        EXPECT_EQ(verdict.outcome, ProofOutcome::Proven) << verdict.reason;
        EXPECT_EQ(verdict.games, original.games);
        break;
      case Gives::AnotherPlay:
        EXPECT_EQ(verdict.outcome, ProofOutcome::Proven) << verdict.reason;
        ASSERT_EQ(verdict.games.size(), 1u);
        EXPECT_EQ(ShownGame(verdict.games[0]), ShownGame(original.games[0]));
        EXPECT_NE(verdict.games[0].key, original.games[0].key);
        break;
    }
  }
  // A start line that does not read is refused before anything is played.
  const ProofVerdict unread = Check(EachLineChanged(kept, [](const std::string& line) {
    return line.starts_with("start ") ? "start 12 rand many" : line;
  }), "kept.replay");
  EXPECT_EQ(unread.outcome, ProofOutcome::Unreadable);
  EXPECT_EQ(unread.reason, "kept.replay:4: 'many' is not the generator's count");
}

}  // namespace
