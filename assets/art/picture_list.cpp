#include "assets/art/picture_list.h"

#include "assets/art/art.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kCritter = 32;  // flies, wasp and cream must fit their 32 x 32 field cell
constexpr int kBurstWidth = 360;
constexpr int kBurstHeight = 150;
constexpr int kNumberHeight = 170;  // drawn from y 293, so at most 187 high

std::vector<PictureRecipe> MakeList() {
  std::vector<PictureRecipe> list;
  auto sprite = [&list](std::string file, int w, int h, std::function<void(cairo_t*)> draw) {
    list.push_back(PictureRecipe{std::move(file), w, h, PictureKind::Sprite, std::move(draw)});
  };
  auto screen = [&list](std::string file, std::function<void(cairo_t*)> draw) {
    list.push_back(PictureRecipe{std::move(file), kScreenWidth, kScreenHeight, PictureKind::FullScreen, std::move(draw)});
  };

  for (int phase = 0; phase < 3; ++phase) {
    sprite("Fly" + std::to_string(phase + 1) + ".bmp", kCritter, kCritter, [phase](cairo_t* cr) { DrawFly(cr, phase); });
  }
  sprite("FlyDead.bmp", kCritter, kCritter, DrawDeadFly);
  sprite("Sahne.bmp", kCritter, kCritter, DrawCream);
  sprite("Miss.bmp", 200, 84, DrawMissBadge);
  for (int n = 1; n <= 7; ++n) {
    const std::string file = n == 1 ? "Hit.bmp" : "Hit" + std::to_string(n) + ".bmp";
    sprite(file, kBurstWidth, kBurstHeight, [n](cairo_t* cr) { DrawHitBurst(cr, n, kBurstWidth, kBurstHeight); });
  }
  sprite("Hit8.bmp", kBurstWidth, kBurstHeight, [](cairo_t* cr) { DrawWaspBonus(cr, kBurstWidth, kBurstHeight); });
  sprite("BOK.bmp", 100, 60, DrawOkButton);
  sprite("Stage.bmp", kScreenWidth, 292, DrawStageBanner);
  for (int n = 1; n <= 10; ++n) {
    const int w = n == 10 ? 230 : 130;
    sprite(std::to_string(n) + ".bmp", w, kNumberHeight, [n, w](cairo_t* cr) { DrawStageNumber(cr, n, w, kNumberHeight); });
  }
  sprite("Wesp.bmp", kCritter, kCritter, DrawWasp);
  sprite("Wesp2.bmp", kCritter, kCritter, DrawDeadWasp);
  for (int phase = 0; phase < 3; ++phase) {
    sprite("Boss" + std::to_string(phase + 1) + ".bmp", 440, 440, [phase](cairo_t* cr) { DrawBoss(cr, phase, false); });
  }
  sprite("Boss4.bmp", 440, 440, [](cairo_t* cr) { DrawBoss(cr, 1, true); });
  sprite("Win.bmp", 440, 400, [](cairo_t* cr) { DrawWinBadge(cr, 440, 400); });
  sprite("Klatsche1.bmp", 64, 167, [](cairo_t* cr) { DrawSwatter(cr, false); });
  sprite("Klatsche2.bmp", 64, 167, [](cairo_t* cr) { DrawSwatter(cr, true); });

  screen("Start.bmp", DrawTitleScreen);
  screen("fsk.bmp", DrawAgeNotice);
  screen("Highscore.bmp", DrawHighscoreBackdrop);
  screen("Back1.bmp", DrawTableclothBackdrop);
  screen("Back2.bmp", DrawWoodTableBackdrop);
  screen("Back3.bmp", DrawMeadowBackdrop);
  screen("Back4.bmp", DrawWindowSillBackdrop);
  screen("welldone.bmp", DrawWellDone);
  screen("loose.bmp", DrawSoClose);
  return list;
}

}  // namespace

const std::vector<PictureRecipe>& AllPictures() {
  static const std::vector<PictureRecipe> list = MakeList();
  return list;
}
