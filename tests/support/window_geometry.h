// Where a window lies on its X server's screen, and the part of a screenshot it covers: for
// a game that plays in a window rather than on the whole screen.
#pragma once

#include <optional>
#include <string>

#include "tools/art/image.h"

struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The window's place and size as xdotool reads them on `displayName`; nothing when unknown.
std::optional<WindowGeometry> QueryWindowGeometry(const std::string& displayName,
                                                  unsigned long window);

// The screenshot's pixels inside `area`; what lies beyond the screen stays black.
Image Cropped(const Image& screenshot, const WindowGeometry& area);
