#include "platform/seams/play_under_way.h"

namespace {

PlayUnderWayAnswers answers{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace

void AnswerPlayUnderWay(const PlayUnderWayAnswers& given) { answers = given; }

bool RulesInPlay() { return answers.inPlay != nullptr && answers.inPlay(); }

CarriedState CarriedIntoPlay() {
  return answers.carriedIn != nullptr ? answers.carriedIn() : CarriedState{};
}

uint32_t StageClockStart() { return answers.stageClockStart != nullptr ? answers.stageClockStart() : 0; }

bool NameAhead() { return answers.nameAhead != nullptr && answers.nameAhead(); }

std::string BeginPlayWith(const CarriedState& carried) {
  return answers.beginPlay != nullptr ? answers.beginPlay(carried) : "the game has not started";
}

int TargetsInReach(int32_t countsX, int32_t countsY) {
  return answers.targetsInReach != nullptr ? answers.targetsInReach(countsX, countsY) : 0;
}
