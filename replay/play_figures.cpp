#include "replay/play_figures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/seams/flip_observer.h"
#include "platform/seams/play_under_way.h"

namespace {

// What the game under way has shown so far.
struct GameUnderWay {
  PlayFigures figures;
  bool leftDown = false;       // as answered at the last mouse read
  int64_t heldReads = 0;       // of the press under way
  int64_t reachReads = 0;      // reads in a row that found a target under the swatter
  std::optional<uint32_t> firstMs;
  std::vector<int64_t> waits;  // of each aimed press
};

struct Figuring {
  std::optional<GameUnderWay> game;
  PlayFigures last;
};
Figuring figuring;

void PressLetGo(GameUnderWay& game) {
  PlayFigures& figures = game.figures;
  figures.shortestPress =
      figures.shortestPress == 0 ? game.heldReads : std::min(figures.shortestPress, game.heldReads);
  if (game.heldReads == 1) figures.oneReadPresses += 1;
  game.heldReads = 0;
}

void Finish(GameUnderWay& game) {
  if (game.leftDown) PressLetGo(game);
  std::vector<int64_t>& waits = game.waits;
  if (!waits.empty()) {
    std::nth_element(waits.begin(), waits.begin() + static_cast<ptrdiff_t>(waits.size() / 2), waits.end());
    game.figures.medianWaitReads = waits[waits.size() / 2];
  }
  figuring.last = game.figures;
}

// A game's figures run from the first answer or flip that finds it in play to the first that
// does not.
void FollowThePlay() {
  const bool playing = RulesInPlay();
  if (!figuring.game && playing) {
    figuring.game.emplace();
  } else if (figuring.game && !playing) {
    Finish(*figuring.game);
    figuring.game.reset();
  }
}

void HearMouse(GameUnderWay& game, const ReplayLine& answer) {
  PlayFigures& figures = game.figures;
  figures.mouseReads += 1;
  figures.longestJump = std::max<int64_t>(figures.longestJump, 2 * std::max(std::abs(int64_t{answer.dx}),
                                                                             std::abs(int64_t{answer.dy})));
  // Asked before the game moves the swatter by this answer: where it stood, and where it goes.
  const bool inReach = TargetsInReach(0, 0) > 0;
  game.reachReads = inReach ? game.reachReads + 1 : 0;
  if (answer.left && !game.leftDown) {
    figures.presses += 1;
    if (TargetsInReach(answer.dx, answer.dy) > 0) {
      figures.aimedPresses += 1;
      if (!inReach) figures.pressedOnArrival += 1;
      game.waits.push_back(game.reachReads);
    }
  }
  if (answer.left) game.heldReads += 1;
  if (!answer.left && game.leftDown) PressLetGo(game);
  game.leftDown = answer.left;
}

}  // namespace

void PlayFiguresStart() { AddFlipObserver(FollowThePlay); }

void PlayFiguresHear(const ReplayLine& answer) {
  FollowThePlay();
  if (!figuring.game) return;
  GameUnderWay& game = *figuring.game;
  if (answer.channel == ReplayChannel::Mouse) {
    HearMouse(game, answer);
  } else if (answer.channel == ReplayChannel::Clock) {
    if (!game.firstMs) game.firstMs = answer.ms;
    game.figures.playMs = answer.ms - *game.firstMs;
  }
}

PlayFigures PlayFiguresOfLastGame() { return figuring.last; }

std::string ShownFigures(const PlayFigures& figures) {
  char text[400];
  const double seconds = static_cast<double>(figures.playMs) / 1000;
  std::snprintf(text, sizeof text,
                "reads %.1f a second over %.1f s; %lld presses, the shortest %lld reads, %lld of one "
                "read; the longest jump %lld pixels; %lld aimed presses, %lld at the read that "
                "brought the target, the middle one after %lld reads in reach",
                seconds > 0 ? static_cast<double>(figures.mouseReads) / seconds : 0.0, seconds,
                static_cast<long long>(figures.presses), static_cast<long long>(figures.shortestPress),
                static_cast<long long>(figures.oneReadPresses), static_cast<long long>(figures.longestJump),
                static_cast<long long>(figures.aimedPresses), static_cast<long long>(figures.pressedOnArrival),
                static_cast<long long>(figures.medianWaitReads));
  return text;
}

namespace {

// Fewer presses than this say too little of a hand: a stage won with one swat looks the same
// played by anyone.
constexpr int64_t kLeastPresses = 12;
// A finger holds a button down 40 ms and more; read this often (40 reads a second and more), a
// press of a hand is seen at two reads at least, nearly always.
constexpr double kMostMsBetweenReads = 25;
constexpr int64_t kOneReadPercent = 90;
// A hand swats some 150 ms after it sees a fly under the swatter, and never mostly in a few.
constexpr double kLeastHandWaitMs = 50;

}  // namespace

std::string ReviewHold(const PlayFigures& figures) {
  if (figures.mouseReads == 0 || figures.playMs <= 0) return "";
  const double msARead = static_cast<double>(figures.playMs) / static_cast<double>(figures.mouseReads);
  std::string why;
  const auto sign = [&](const std::string& what) { why += (why.empty() ? "" : "; ") + what; };
  if (figures.presses >= kLeastPresses && msARead <= kMostMsBetweenReads &&
      figures.oneReadPresses * 100 >= figures.presses * kOneReadPercent) {
    sign(std::to_string(figures.oneReadPresses) + " of its " + std::to_string(figures.presses) +
         " presses were let go by the next read, a press no finger makes");
  }
  const double waitMs = static_cast<double>(figures.medianWaitReads) * msARead;
  if (figures.aimedPresses >= kLeastPresses && waitMs < kLeastHandWaitMs) {
    char text[160];
    std::snprintf(text, sizeof text, "its %lld aimed swats came a middle %.0f ms after a target was in reach, "
                  "sooner than a hand sees it", static_cast<long long>(figures.aimedPresses), waitMs);
    sign(text);
  }
  return why;
}
