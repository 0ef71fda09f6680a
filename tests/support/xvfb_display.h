// A private X server for one test: Xvfb on a display number of its own choosing (so tests
// may run side by side), with no window manager, stopped when the object goes.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/x_connection.h"
#include "tools/art/image.h"

class XvfbDisplay {
 public:
  XvfbDisplay(int width, int height);
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  // Whether the server runs and answers; when not, `Error` says why.
  bool Ready() const { return connection_.IsOpen(); }
  const std::string& Error() const { return error_; }

  const std::string& Name() const { return name_; }  // ":N", for DISPLAY
  int Width() const { return width_; }
  int Height() const { return height_; }

  Image Screenshot() { return connection_.Screenshot(); }
  bool SendCloseRequest(unsigned long window) { return connection_.SendCloseRequest(window); }
  unsigned long FindWindowTitled(const std::string& title) {
    return connection_.FindWindowTitled(title);
  }

 private:
  int width_;
  int height_;
  std::string name_;
  std::string error_;
  std::filesystem::path logFolder_;
  ChildProcess server_;
  XConnection connection_;  // declared last, so closed before the server stops
};
