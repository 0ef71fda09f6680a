// A private Wayland desktop for one test: Weston drawing with pixman into a window of the
// test's own X server, its kiosk shell (every window full screen on one output), and a runtime
// folder of its own, stopped when the object goes. Its clients see only the Wayland socket.
// Screenshots through weston-screenshooter, which the server allows because of --debug.
//
// Not Weston's headless backend: it offers no seat (wl_seat), and SDL 2.26 sets up its mouse
// on the first seat without looking, crashing every SDL program there. Weston's X11 backend
// makes a seat of the X server's keyboard and pointer.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tools/art/image.h"
#include "tests/support/xvfb_display.h"

class WestonDisplay {
 public:
  // An output of width x height in a window on `host`, which must outlive this object.
  WestonDisplay(const XvfbDisplay& host, int width, int height);
  ~WestonDisplay();
  WestonDisplay(const WestonDisplay&) = delete;
  WestonDisplay& operator=(const WestonDisplay&) = delete;

  // Whether the server runs and takes clients; when not, `Error` says why.
  bool Ready() const { return ready_; }
  const std::string& Error() const { return error_; }

  // A client's environment: the test's own without DISPLAY, with this server's Wayland
  // socket and runtime folder, and `changes` on top.
  std::vector<std::string> ClientEnvironment(
      const std::vector<std::pair<std::string, std::string>>& changes = {}) const;

  // The output as it stands, kept as `keepAs` (a PNG file); nothing when it cannot be taken.
  std::optional<Image> Screenshot(const std::filesystem::path& keepAs);

 private:
  std::filesystem::path runtime_;  // XDG_RUNTIME_DIR: the socket lives here
  std::string socket_;
  std::string error_;
  bool ready_ = false;
  ChildProcess server_;
};
