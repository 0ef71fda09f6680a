// One PNG showing every picture the game reads, at its own size, on a grey checkerboard with
// its file name and size: usage: zimbrel_contact_sheet <gfx folder> <out.png>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "assets/art/picture_list.h"
#include "tools/art/bmp_file.h"
#include "tools/art/cartoon.h"
#include "tools/art/image_paint.h"

namespace {

constexpr double kSheetWidth = 1980;
constexpr double kGap = 16;
constexpr double kLabelHeight = 24;

struct Placed {
  const PictureRecipe* picture;
  Image image;
  double x, y;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <gfx folder> <out.png>\n", argv[0]);
    return 2;
  }
  std::vector<Placed> placed;
  double x = kGap, y = kGap, rowHeight = 0;
  for (const PictureRecipe& picture : AllPictures()) {
    std::optional<Image> image = ReadBmp24(std::string(argv[1]) + "/" + picture.file);
    if (!image) {
      std::fprintf(stderr, "cannot read %s\n", picture.file.c_str());
      return 1;
    }
    const double w = std::max(image->width, 110);
    if (x + w > kSheetWidth) {
      x = kGap;
      y += rowHeight + kLabelHeight + kGap;
      rowHeight = 0;
    }
    placed.push_back(Placed{&picture, std::move(*image), x, y});
    x += w + kGap;
    rowHeight = std::max(rowHeight, static_cast<double>(placed.back().image.height));
  }
  const int height = static_cast<int>(y + rowHeight + kLabelHeight + kGap);
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(kSheetWidth), height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.22);
  cairo_paint(cr);
  for (const Placed& p : placed) {
    PaintCheckerboard(cr, p.x, p.y, p.image.width, p.image.height, 8);
    PaintImage(cr, p.image, p.x, p.y, p.picture->kind == PictureKind::Sprite);
    const std::string label =
        p.picture->file + "  " + std::to_string(p.image.width) + "x" + std::to_string(p.image.height);
    SelectLetteringFont(cr, 15);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_move_to(cr, p.x, p.y + p.image.height + 17);
    cairo_show_text(cr, label.c_str());
  }
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(sheet, argv[2]) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(sheet);
  return ok ? 0 : 1;
}
