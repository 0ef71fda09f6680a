#include "platform/win32/message_queue.h"

#include <deque>

namespace {

std::deque<MSG> messageQueue;

}  // namespace

void PostQuitMessage(int exitCode) {
  messageQueue.push_back({nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  messageQueue.push_back({window, message, wParam, lParam});
}

bool WindowMessageWaiting() { return !messageQueue.empty(); }

bool TakeWindowMessage(MSG* msg, bool remove) {
  if (messageQueue.empty()) return false;
  *msg = messageQueue.front();
  if (remove) messageQueue.pop_front();
  return true;
}
