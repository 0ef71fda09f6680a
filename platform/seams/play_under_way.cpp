#include "platform/seams/play_under_way.h"

namespace {

PlayUnderWayAnswers answers{nullptr, nullptr, nullptr};

}  // namespace

void AnswerPlayUnderWay(const PlayUnderWayAnswers& given) { answers = given; }

bool RulesInPlay() { return answers.inPlay != nullptr && answers.inPlay(); }

std::string CarriedIntoPlay() { return answers.carriedIn != nullptr ? answers.carriedIn() : "\n"; }

uint32_t StageClockStart() { return answers.stageClockStart != nullptr ? answers.stageClockStart() : 0; }
