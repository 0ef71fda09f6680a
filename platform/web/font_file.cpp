// The page's font: Comic Neue, packed with the pictures (the browser has no fontconfig). Under
// Node.js the files are the machine's own, where Debian's fonts-comic-neue put them.
#include "platform/sdl/font_file.h"

#include <sys/stat.h>

namespace {

constexpr char kPackedFolder[] = "/data/font/";
constexpr char kInstalledFolder[] = "/usr/share/fonts/opentype/comic-neue/";

bool Exists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

}  // namespace

void FindFontFile(const char*, bool bold, bool, FontFile* out) {
  const std::string name = bold ? "ComicNeue-Bold.otf" : "ComicNeue-Regular.otf";
  const std::string packed = kPackedFolder + name;
  out->path = Exists(packed) ? packed : kInstalledFolder + name;
  out->index = 0;
  out->bold = bold;
}
