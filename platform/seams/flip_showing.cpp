#include "platform/seams/flip_showing.h"

namespace {

FlipShownQuestion asked = nullptr;

}  // namespace

void SetFlipShownQuestion(FlipShownQuestion question) { asked = question; }

bool FlipShown() { return asked == nullptr || asked(); }
