// What the rules have under way, for those who follow a game without reading its records (a
// check's key of each play, the games a player keeps): whether a game is in play, what the
// rules carry into it from before Play, where its stage's clock started, and whether its name
// may yet be asked for. And the one way in: a replay of one game puts what it carried in place
// as if its Play button had just been clicked. The game gives the answers when it starts
// (game/play_answers.h); until then no game is in play. Asking draws no number and moves no
// clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the rules carry into a game from before its Play click and may read in it: the
// generator's state (its count of numbers drawn, since it is never reseeded), the cursor and its
// swat, the buttons and keys as last read, the boss's and the last swat's timers.
struct CarriedState {
  uint64_t randCalls = 0;
  int32_t cursorX = 0;
  int32_t cursorY = 0;
  bool swatActive = false;
  int32_t swatTimer = 0;
  bool swatArmed = false;
  bool leftHeld = false;
  bool rightHeld = false;
  int32_t bossFrame = 0;
  int32_t bossHitTimer = 0;
  int32_t effectTimer = 0;
  int32_t effectKind = 0;
  int32_t swatHits = 0;
  bool waspHit = false;
  std::vector<uint8_t> keys;  // the codes held, rising
};

struct PlayUnderWayAnswers {
  bool (*inPlay)();
  CarriedState (*carriedIn)();
  uint32_t (*stageClockStart)();
  // A game's name may yet be asked for: the screens after play not entered yet, or a name
  // being typed.
  bool (*nameAhead)();
  // Puts `carried` in place on the title, as it stands when its Play button is clicked, and
  // passes to play as that click does; or says what no Play click can have carried.
  std::string (*beginPlay)(const CarriedState& carried);
  // The live targets (flies and the wasp) a swat would meet were the swatter moved by these
  // mouse counts from where it stands now.
  int (*targetsInReach)(int32_t countsX, int32_t countsY);
};

void AnswerPlayUnderWay(const PlayUnderWayAnswers& answers);

bool RulesInPlay();
CarriedState CarriedIntoPlay();
uint32_t StageClockStart();
bool NameAhead();
// "" once the game is in play from `carried`, else what is wrong with it.
std::string BeginPlayWith(const CarriedState& carried);
int TargetsInReach(int32_t countsX, int32_t countsY);
