// Renders every picture of the game into <gfx folder>/<name>.bmp.
#include <cstdio>
#include <string>

#include "bmp_file.h"
#include "canvas.h"
#include "picture_list.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <gfx folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  for (const PictureSpec& spec : AllPictures()) {
    Canvas canvas(spec.width, spec.height);
    spec.draw(canvas.cr());
    const Image image = spec.kind == PictureKind::Sprite ? canvas.ToSprite() : canvas.ToOpaque();
    if (!WriteBmp24(folder + "/" + spec.file, image)) {
      std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), spec.file.c_str());
      return 1;
    }
  }
  return 0;
}
