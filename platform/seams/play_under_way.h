// What the rules have under way, for those who follow a game without reading its records (a
// check's key of each play): whether a game is in play, what the rules carry into it from
// before Play, and where its stage's clock started. The game gives the answers when it starts
// (game/play_answers.h); until then no game is in play. Asking draws no number and moves no
// clock.
#pragma once

#include <cstdint>
#include <string>

struct PlayUnderWayAnswers {
  bool (*inPlay)();
  std::string (*carriedIn)();  // one line of text, the same for the same state
  uint32_t (*stageClockStart)();
};

void AnswerPlayUnderWay(const PlayUnderWayAnswers& answers);

bool RulesInPlay();
std::string CarriedIntoPlay();
uint32_t StageClockStart();
