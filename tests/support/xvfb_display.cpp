#include "tests/support/xvfb_display.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/files/temporary_folder.h"
#include "tests/support/file_bytes.h"

namespace fs = std::filesystem;

namespace {

// Generous: a loaded machine running sanitized tests side by side starts servers slowly.
constexpr int kStartTimeoutMs = 30000;

// Xvfb writes the display number it took, and a newline, once it accepts connections.
std::string ReadDisplayNumber(int descriptor) {
  std::string number;
  for (;;) {
    pollfd readable{descriptor, POLLIN, 0};
    if (poll(&readable, 1, kStartTimeoutMs) <= 0) return {};
    char c = 0;
    if (read(descriptor, &c, 1) != 1) return {};
    if (c == '\n') return number;
    number += c;
  }
}

}  // namespace

XvfbDisplay::XvfbDisplay(int width, int height) : width_(width), height_(height) {
  const std::optional<fs::path> logFolder = MakeTemporaryFolder("zimbrel-xvfb", &error_);
  if (!logFolder) return;
  logFolder_ = *logFolder;
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error_ = "cannot make a pipe for Xvfb";
    return;
  }
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  ChildProcess::Options options;
  options.command = {"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", screen,
                     "-nolisten", "tcp"};
  options.environment = EnvironmentWith({});
  options.errorFile = logFolder_ / "xvfb.log";
  options.inheritedDescriptor = pipeEnds[1];
  const bool started = server_.Start(options, &error_);
  close(pipeEnds[1]);
  const std::string number = started ? ReadDisplayNumber(pipeEnds[0]) : "";
  close(pipeEnds[0]);
  if (!started) return;
  if (number.empty()) {
    error_ = "Xvfb did not start: " + FileText(logFolder_ / "xvfb.log");
    return;
  }
  name_ = ":" + number;
  if (!connection_.Open(name_)) error_ = "cannot connect to Xvfb on " + name_;
}

XvfbDisplay::~XvfbDisplay() {
  std::error_code ignored;
  fs::remove_all(logFolder_, ignored);
}
