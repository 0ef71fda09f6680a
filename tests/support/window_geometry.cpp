#include "tests/support/window_geometry.h"

#include <chrono>
#include <sstream>

#include "tests/support/child_process.h"

std::optional<WindowGeometry> QueryWindowGeometry(const std::string& displayName,
                                                  unsigned long window) {
  const CommandResult result =
      RunCommand({"xdotool", "getwindowgeometry", "--shell", std::to_string(window)},
                 EnvironmentWith({{"DISPLAY", displayName}}), std::chrono::seconds(10));
  if (result.exitCode != 0) return std::nullopt;
  // Lines of NAME=value: WINDOW, X, Y, WIDTH, HEIGHT, SCREEN.
  WindowGeometry geometry;
  int found = 0;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    int* field = name == "X" ? &geometry.x : name == "Y" ? &geometry.y
               : name == "WIDTH" ? &geometry.width : name == "HEIGHT" ? &geometry.height : nullptr;
    if (field == nullptr) continue;
    *field = std::stoi(line.substr(equals + 1));
    ++found;
  }
  if (found != 4) return std::nullopt;
  return geometry;
}

Image Cropped(const Image& screenshot, const WindowGeometry& area) {
  Image part(area.width, area.height);
  for (int y = 0; y < area.height; ++y) {
    for (int x = 0; x < area.width; ++x) {
      const int fromX = area.x + x;
      const int fromY = area.y + y;
      if (fromX >= 0 && fromY >= 0 && fromX < screenshot.width && fromY < screenshot.height) {
        part.at(x, y) = screenshot.at(fromX, fromY);
      }
    }
  }
  return part;
}
