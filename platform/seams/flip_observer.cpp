#include "platform/seams/flip_observer.h"

#include <vector>

namespace {

uint64_t presentedFlips = 0;
std::vector<FlipObserver> flipObservers;

}  // namespace

uint64_t PresentedFlipCount() { return presentedFlips; }
void CountFlipsFrom(uint64_t flips) { presentedFlips = flips; }
void AddFlipObserver(FlipObserver observer) { flipObservers.push_back(observer); }

void NotifyFlipPresented() {
  ++presentedFlips;
  for (FlipObserver observer : flipObservers) observer();
}
