// The test's own connection to an X server: whole-screen screenshots, and the close request
// a window manager would send (a WM_DELETE_WINDOW message: bare Xvfb has no window manager).
// Xlib's own headers stay inside the .cpp; their macros clash with everything.
#pragma once

#include <string>

#include "tools/art/image.h"

class XConnection {
 public:
  XConnection() = default;
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  bool Open(const std::string& displayName);
  bool IsOpen() const { return display_ != nullptr; }

  // The whole screen as it stands; an empty image when it cannot be read.
  Image Screenshot();
  // Asks the window to close, as the window manager's close button does.
  bool SendCloseRequest(unsigned long window);
  // A top-level window whose title is exactly `title`, or 0.
  unsigned long FindWindowTitled(const std::string& title);

 private:
  void* display_ = nullptr;
};
