#include "platform/seams/play_under_way.h"

namespace {

PlayUnderWayAnswers answers{nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace

std::string CarriedWords(const CarriedState& carried, int held) {
  const auto number = [](int64_t value) { return std::to_string(value); };
  std::string text = "rand " + std::to_string(carried.randCalls) + " cursor " +
                     number(carried.cursorX) + " " + number(carried.cursorY) + " " +
                     number(carried.swatActive) + " " + number(carried.swatTimer) + " " +
                     number(carried.swatArmed) + " buttons " + number(carried.leftHeld ? held : 0) +
                     " " + number(carried.rightHeld ? held : 0) + " boss " +
                     number(carried.bossFrame) + " " + number(carried.bossHitTimer) + " effect " +
                     number(carried.effectTimer) + " " + number(carried.effectKind) + " swat " +
                     number(carried.swatHits) + " " + number(carried.waspHit) + " keys";
  for (uint8_t code : carried.keys) text += " " + number(code);
  return text;
}

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
