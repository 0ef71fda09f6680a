#include "platform/seams/game_named.h"

#include <vector>

namespace {

std::vector<GameNamedObserver>& Observers() {
  static std::vector<GameNamedObserver> observers;
  return observers;
}

}  // namespace

void AddGameNamedObserver(GameNamedObserver observer) { Observers().push_back(observer); }

void NotifyGameNamed(const NamedGame& game) {
  for (GameNamedObserver observer : Observers()) observer(game);
}
