// A private Wayland desktop for one test: Weston's headless backend drawing in memory (pixman),
// its kiosk shell (every window full screen on one output), and a runtime folder of its own,
// stopped when the object goes. Screenshots through weston-screenshooter, which the server
// allows only because it runs with --debug.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "image.h"

class WestonDisplay {
 public:
  WestonDisplay(int width, int height);
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
