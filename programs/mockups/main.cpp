// Composes the game's screens from the built pictures the way the game draws them (positions,
// colour key, the 30-pixel bold game font with its black shadow) and writes one PNG per screen:
// usage: zimbrel_mockups <gfx folder> <output folder>
#include <cairo.h>

#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/art/bmp_file.h"
#include "tools/art/image_paint.h"

namespace {

constexpr unsigned kYellow = 0xFFFF;  // COLORREF 0x00BBGGRR
constexpr unsigned kRed = 0xFF;

class Screen {
 public:
  explicit Screen(const std::map<std::string, Image>& pictures)
      : pictures_(pictures),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 640, 480)),
        cr_(cairo_create(surface_)) {
    cairo_select_font_face(cr_, "Comic Sans MS", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr_, 30);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    // The game asks for a 30-pixel cell: ascent plus descent.
    cairo_set_font_size(cr_, 30 * 30 / (fe.ascent + fe.descent));
    cairo_font_extents(cr_, &fe);
    ascent_ = fe.ascent;
  }
  ~Screen() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  const Image& Picture(const std::string& name) const { return pictures_.at(name); }
  void Opaque(const std::string& name, int x, int y) { PaintImage(cr_, Picture(name), x, y, false); }
  void Sprite(const std::string& name, int x, int y) { PaintImage(cr_, Picture(name), x, y, true); }
  void Centered(const std::string& name) {
    const Image& p = Picture(name);
    Sprite(name, (640 - p.width) >> 1, (480 - p.height) >> 1);
  }
  void Black() {
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_paint(cr_);
  }
  void ShadowText(const std::string& text, int x, int y, unsigned colorref) {
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_move_to(cr_, x + 2, y + 2 + ascent_);
    cairo_show_text(cr_, text.c_str());
    cairo_set_source_rgb(cr_, (colorref & 0xFF) / 255.0, ((colorref >> 8) & 0xFF) / 255.0,
                         ((colorref >> 16) & 0xFF) / 255.0);
    cairo_move_to(cr_, x, y + ascent_);
    cairo_show_text(cr_, text.c_str());
  }
  void Banner(const std::string& text, int y) { ShadowText(text, 350 - 10 * static_cast<int>(text.size()), y, kYellow); }
  void Hud(int score, int cream, int seconds) {
    const std::string s = std::to_string(score);
    ShadowText(s, 310 - 10 * static_cast<int>(s.size()), 3, kYellow);
    Sprite("Sahne.bmp", 3, 3);
    ShadowText("x", 40, 3, kYellow);
    ShadowText(std::to_string(cream), 65, 3, kRed);
    ShadowText(std::to_string(seconds), 600, 3, kRed);
  }
  bool Write(const std::string& path) const {
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
  }

 private:
  const std::map<std::string, Image>& pictures_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  double ascent_ = 0;
};

void Flies(Screen& s, const std::vector<std::array<int, 3>>& flies) {
  for (const auto& f : flies) s.Sprite("Fly" + std::to_string(f[2] + 1) + ".bmp", f[0], f[1]);
}

void Title(Screen& s) {
  s.Opaque("Start.bmp", 0, 0);
  s.Sprite("Fly2.bmp", 476, 344);
}

void Stage(Screen& s) {
  s.Opaque("Back1.bmp", 0, 0);
  s.Sprite("FlyDead.bmp", 300, 330);
  s.Sprite("FlyDead.bmp", 90, 380);
  Flies(s, {{130, 230, 1}, {104, 397, 0}, {335, 100, 1}, {492, 222, 1}, {383, 124, 2}, {548, 289, 2}});
  s.Sprite("Wesp.bmp", 430, 180);
  s.Sprite("Sahne.bmp", 250, 260);
  s.Sprite("Klatsche1.bmp", 180, 250);
  s.Hud(2400, 2, 37);
  s.Centered("Hit3.bmp");
}

void Intro(Screen& s) {
  s.Opaque("Back3.bmp", 0, 0);
  s.Sprite("Stage.bmp", 0, 0);
  const Image& number = s.Picture("3.bmp");
  s.Sprite("3.bmp", (640 - number.width) >> 1, 293);
}

void Boss(Screen& s) {
  s.Opaque("Back2.bmp", 0, 0);
  s.Sprite("Boss1.bmp", 100, 0);
  Flies(s, {{160, 106, 0}, {424, 110, 1}, {200, 300, 2}, {480, 380, 0}, {90, 250, 1}});
  s.Sprite("Klatsche2.bmp", 250, 120);
  s.Hud(15300, 0, 44);
  s.ShadowText("Boss : 37", 260, 450, kRed);
}

void BossHurt(Screen& s) {
  s.Opaque("Back2.bmp", 0, 0);
  s.Sprite("Boss4.bmp", 100, 0);
  s.Sprite("Klatsche2.bmp", 290, 130);
  s.Hud(15400, 0, 41);
  s.ShadowText("Boss : 36", 260, 450, kRed);
}

void OkBox(Screen& s) {
  s.Opaque("Back4.bmp", 0, 0);
  s.Sprite("FlyDead.bmp", 200, 250);
  s.Banner("You did it !", 100);
  s.Banner("12 x 10 = 120", 150);
  s.Banner("Score  -  5320", 200);
  s.Sprite("BOK.bmp", 270, 350);
  s.Sprite("Klatsche1.bmp", 150, 270);
}

void Victory(Screen& s) {
  s.Opaque("Back2.bmp", 0, 0);
  s.Centered("Win.bmp");
  s.Banner("You did it !", 100);
  s.Banner("21 x 10 = 210", 150);
  s.Banner("Score  -  48210", 200);
  s.Sprite("BOK.bmp", 270, 350);
  s.Sprite("Klatsche1.bmp", 420, 280);
}

void Highscores(Screen& s) {
  s.Opaque("Highscore.bmp", 0, 0);
  const int columns[] = {210, 270, 330, 380, 427, 474, 521, 562};
  for (int row = 0; row < 10; ++row) {
    const unsigned color = 0xFF | static_cast<unsigned>(255 - 19 * row) << 8;
    const int y = 40 + 36 * row;
    s.ShadowText(std::to_string(48210 - row * 4100), 3, y, color);
    s.ShadowText(row == 0 ? "ZIM <<" : "ABC", 130, y, color);
    for (int c = 0; c < 8; ++c) s.ShadowText(std::to_string((row * 7 + c * 3) % 23), columns[c], y, color);
  }
}

void Credits(Screen& s) {
  static const char* const kLines[] = {
      "Lead Programmers : Quarrendel",  "AI Programmers : Quarrendel",       "GFX Programmers : Quarrendel",
      "Art Directors : Quarrendel",     "Ex. Producers : Quarrendel",        "Battle System Designers : Quarrendel",
      "Lead Testers : Quarrendel",      "Assistant Managers : Quarrendel",   "Coordination Director : Quarrendel",
      "Qlt. Assurance Managers : Quarrendel", "Chief Engeneers : Quarrendel", "Editors : Quarrendel",
      "Level Designers : Quarrendel",   "Artworkers : Quarrendel",           "Event Directors : Quarrendel",
      "Product Analysts : Quarrendel",  "Charakter Modellers : Quarrendel",  "Senior Softw. Engs. : Quarrendel"};
  s.Black();
  for (int line = 1; line <= 18; ++line) {
    const unsigned level = line <= 2 ? 255u : static_cast<unsigned>(255 - 10 * (line - 1));
    s.ShadowText(kLines[line - 1], 50, 30 + 20 * line, level | level << 8);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <gfx folder> <output folder>\n", argv[0]);
    return 2;
  }
  std::map<std::string, Image> pictures;
  for (const char* name : {"Start.bmp", "Fly1.bmp", "Fly2.bmp", "Fly3.bmp", "FlyDead.bmp", "Sahne.bmp", "Wesp.bmp",
                           "Klatsche1.bmp", "Klatsche2.bmp", "Back1.bmp", "Back2.bmp", "Back3.bmp", "Back4.bmp",
                           "Hit3.bmp", "Stage.bmp", "3.bmp", "Boss1.bmp", "Boss4.bmp", "BOK.bmp", "Win.bmp",
                           "Highscore.bmp"}) {
    std::optional<Image> image = ReadBmp24(std::string(argv[1]) + "/" + name);
    if (!image) {
      std::fprintf(stderr, "cannot read %s\n", name);
      return 1;
    }
    pictures.emplace(name, std::move(*image));
  }
  const std::pair<const char*, void (*)(Screen&)> screens[] = {
      {"title", Title}, {"stage", Stage},   {"intro", Intro},           {"boss", Boss},        {"boss_hurt", BossHurt},
      {"ok_box", OkBox}, {"victory", Victory}, {"highscores", Highscores}, {"credits", Credits}};
  for (const auto& [name, compose] : screens) {
    Screen screen(pictures);
    compose(screen);
    if (!screen.Write(std::string(argv[2]) + "/mockup_" + name + ".png")) return 1;
  }
  return 0;
}
