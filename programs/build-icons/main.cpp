// Renders the application icon at each size given into <folder>/<size>x<size>/apps/<name>.png,
// and once as vectors into <folder>/scalable/apps/<name>.svg: the layout of a freedesktop
// icon theme.
#include <cairo-svg.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "assets/art/app_icon.h"
#include "tools/art/canvas.h"

namespace {

// The icon's own size in the SVG; a desktop scales it to whatever it needs.
constexpr int kScalableSize = 256;

bool WriteScalableIcon(const std::filesystem::path& file) {
  cairo_surface_t* surface = cairo_svg_surface_create(file.c_str(), kScalableSize, kScalableSize);
  cairo_t* cr = cairo_create(surface);
  DrawAppIcon(cr, kScalableSize);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace

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
  const std::filesystem::path scalable = folder / "scalable" / "apps";
  std::error_code error;
  std::filesystem::create_directories(scalable, error);
  const std::filesystem::path file = scalable / (name + ".svg");
  if (error || !WriteScalableIcon(file)) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return 1;
  }
  return 0;
}
