#include "platform/seams/headless.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/seams/flip_observer.h"

namespace {

struct HeadlessBackend {
  bool active = false;
  bool rulesOnly = false;
  std::set<std::string> failingSteps;
  uint32_t clock = 0;
  double nextFlip = 0;  // virtual time at which the next flip may return
  std::vector<RecordedMessageBox> messageBoxes;
  CapturedFrame lastFrame;
  uint64_t frameCount = 0;
  YieldHandler yieldHandler = nullptr;
};

HeadlessBackend& Backend() {
  static HeadlessBackend backend;
  return backend;
}

}  // namespace

void HeadlessEnable() {
  Backend().active = true;
  // Read by SDL when its video and audio start.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

bool HeadlessActive() { return Backend().active; }

void HeadlessDrawNothing() { Backend().rulesOnly = true; }
bool HeadlessRulesOnly() { return Backend().active && Backend().rulesOnly; }

void HeadlessFailStep(const std::string& step) { Backend().failingSteps.insert(step); }
void HeadlessClearFailures() { Backend().failingSteps.clear(); }
bool HeadlessStepFails(const char* step) {
  return Backend().active && Backend().failingSteps.count(step) > 0;
}

uint32_t HeadlessClockNow() { return Backend().clock; }
uint32_t HeadlessClockRead() { return Backend().clock++; }
void HeadlessClockSet(uint32_t ms) { Backend().clock = ms; }
void HeadlessClockAdvance(uint32_t ms) { Backend().clock += ms; }

void HeadlessPresentFlip() {
  constexpr double kFlipMilliseconds = 1000.0 / 60.0;
  HeadlessBackend& backend = Backend();
  backend.nextFlip = std::max(backend.nextFlip, static_cast<double>(backend.clock));
  backend.clock = static_cast<uint32_t>(backend.nextFlip);
  backend.nextFlip += kFlipMilliseconds;
  NotifyFlipPresented();
  HeadlessYield(YieldPoint::Flip);
}

void HeadlessFlipPacingReset() { Backend().nextFlip = 0; }

const std::vector<RecordedMessageBox>& HeadlessMessageBoxes() { return Backend().messageBoxes; }
void HeadlessRecordMessageBox(const char* caption, const char* text, unsigned style) {
  Backend().messageBoxes.push_back({caption ? caption : "", text ? text : "", style});
}

CapturedFrame& HeadlessNextFrame(int width, int height) {
  CapturedFrame& frame = Backend().lastFrame;
  frame.width = width;
  frame.height = height;
  frame.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  ++Backend().frameCount;
  return frame;
}
const CapturedFrame& HeadlessLastFrame() { return Backend().lastFrame; }
uint64_t HeadlessFrameCount() { return Backend().frameCount; }

void HeadlessSetYieldHandler(YieldHandler handler) { Backend().yieldHandler = handler; }
void HeadlessYield(YieldPoint point) {
  if (Backend().active && Backend().yieldHandler) Backend().yieldHandler(point);
}
