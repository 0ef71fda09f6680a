#include "platform/seams/save_observer.h"

namespace {

SaveObserver saveObserver = nullptr;

}  // namespace

void SetSaveObserver(SaveObserver observer) { saveObserver = observer; }

void NotifyFileSaved(const char* path) {
  if (saveObserver != nullptr) saveObserver(path);
}
