// Renders the application icon at each size given into <folder>/<size>x<size>/apps/<name>.png,
// the layout of a freedesktop icon theme.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "assets/art/app_icon.h"
#include "tools/art/canvas.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <icon folder> <name> <size>...\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::string name = argv[2];
  for (int i = 3; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0 || size > 1024) {
      std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
      return 2;
    }
    const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path apps = folder / sizeName / "apps";
    std::error_code error;
    std::filesystem::create_directories(apps, error);
    Canvas canvas(size, size);
    DrawAppIcon(canvas.cr(), size);
    const std::filesystem::path file = apps / (name + ".png");
    if (error || !canvas.WritePng(file.string())) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      return 1;
    }
  }
  return 0;
}
