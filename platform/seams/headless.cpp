#include "platform/seams/headless.h"

#include <png.h>

#include <cstdlib>
#include <set>

namespace {

struct HeadlessBackend {
  bool active = false;
  std::set<std::string> failingSteps;
  uint32_t clock = 0;
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

void HeadlessFailStep(const std::string& step) { Backend().failingSteps.insert(step); }
void HeadlessClearFailures() { Backend().failingSteps.clear(); }
bool HeadlessStepFails(const char* step) {
  return Backend().active && Backend().failingSteps.count(step) > 0;
}

uint32_t HeadlessClockNow() { return Backend().clock; }
uint32_t HeadlessClockRead() { return Backend().clock++; }
void HeadlessClockSet(uint32_t ms) { Backend().clock = ms; }
void HeadlessClockAdvance(uint32_t ms) { Backend().clock += ms; }

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

bool WriteFramePng(const CapturedFrame& frame, const std::string& path) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_BGRA;  // 0x00RRGGBB words are B, G, R, X in memory
  std::vector<uint32_t> opaque(frame.pixels);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  return png_image_write_to_file(&image, path.c_str(), 0, opaque.data(), 0, nullptr) != 0;
}

void HeadlessSetYieldHandler(YieldHandler handler) { Backend().yieldHandler = handler; }
void HeadlessYield(YieldPoint point) {
  if (Backend().active && Backend().yieldHandler) Backend().yieldHandler(point);
}
