#include "platform/seams/first_flip_mark.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/seams/flip_observer.h"

namespace {

const char* markFile = nullptr;

void WriteMarkOnce() {
  if (markFile == nullptr) return;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const long long nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  if (std::FILE* file = std::fopen(markFile, "w")) {
    std::fprintf(file, "%lld\n", nanoseconds);
    std::fclose(file);
  }
  markFile = nullptr;
}

}  // namespace

void ArmFirstFlipMark() {
  static bool armed = false;
  if (armed) return;
  armed = true;
  markFile = std::getenv("ZIMBREL_FIRST_FLIP_FILE");
  if (markFile != nullptr && *markFile != '\0') AddFlipObserver(WriteMarkOnce);
}
