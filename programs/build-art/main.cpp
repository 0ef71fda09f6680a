// Renders every picture of the game into <gfx folder>/<name>.bmp.
#include <cstdio>
#include <string>

#include "assets/art/picture_list.h"
#include "tools/art/bmp_file.h"
#include "tools/art/canvas.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <gfx folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  for (const PictureRecipe& picture : AllPictures()) {
    Canvas canvas(picture.width, picture.height);
    picture.draw(canvas.cr());
    const Image image = picture.kind == PictureKind::Sprite ? canvas.ToSprite() : canvas.ToOpaque();
    if (!WriteBmp24(folder + "/" + picture.file, image)) {
      std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), picture.file.c_str());
      return 1;
    }
  }
  return 0;
}
