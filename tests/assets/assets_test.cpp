// The built pictures and sounds in the runnable folder: names, sizes, the colour key rules the
// game's drawing relies on, the sound format, and that every sound loads through the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files/little_endian.h"
#include "tests/support/file_bytes.h"
#include "tests/support/riff_bytes.h"
#include "tests/support/sound_fixture.h"

namespace {

const std::string kRun = ZIMBREL_RUN_DIR;

struct Pixel {
  uint8_t r, g, b;
  bool Black() const { return r == 0 && g == 0 && b == 0; }
};

// A 24-bit bottom-up BMP, read independently of the builders' own writer.
struct Bitmap {
  int width = 0, height = 0;
  std::vector<Pixel> pixels;  // top-down
  const Pixel& At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Bitmap LoadBitmap(const std::string& name) {
  const std::vector<uint8_t> b = FileBytes(kRun + "/gfx/" + name);
  Bitmap bmp;
  EXPECT_GE(b.size(), 54u) << name;
  if (b.size() < 54) return bmp;
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(ReadLe16(&b[28]), 24u) << name << " is not 24 bits per pixel";
  EXPECT_EQ(ReadLe32(&b[30]), 0u) << name << " is compressed";
  bmp.width = static_cast<int>(ReadLe32(&b[18]));
  bmp.height = static_cast<int>(ReadLe32(&b[22]));
  const size_t offset = ReadLe32(&b[10]);
  const size_t stride = (static_cast<size_t>(bmp.width) * 3 + 3) & ~size_t{3};
  EXPECT_EQ(b.size(), offset + stride * static_cast<size_t>(bmp.height)) << name;
  if (b.size() < offset + stride * static_cast<size_t>(bmp.height)) return Bitmap{};
  for (int y = 0; y < bmp.height; ++y) {
    const size_t row = offset + stride * static_cast<size_t>(bmp.height - 1 - y);
    for (int x = 0; x < bmp.width; ++x) {
      const size_t at = row + static_cast<size_t>(x) * 3;
      bmp.pixels.push_back(Pixel{b[at + 2], b[at + 1], b[at]});
    }
  }
  return bmp;
}

// Where each sprite is drawn decides how big it may be.
struct SpriteRule {
  std::string name;
  int maxWidth, maxHeight;
  bool exact;
};

std::vector<SpriteRule> SpriteRules() {
  std::vector<SpriteRule> rules = {
      {"Fly1.bmp", 32, 32, false},    {"Fly2.bmp", 32, 32, false},     {"Fly3.bmp", 32, 32, false},
      {"FlyDead.bmp", 32, 32, false}, {"Sahne.bmp", 32, 32, false},    {"Wesp.bmp", 32, 32, false},
      {"Wesp2.bmp", 32, 32, false},   {"Miss.bmp", 640, 480, false},   {"Hit8.bmp", 640, 480, false},
      {"BOK.bmp", 640 - 270, 480 - 350, false},  {"Stage.bmp", 640, 480, false},
      {"Win.bmp", 640, 480, false},   {"Klatsche1.bmp", 64, 167, true}, {"Klatsche2.bmp", 64, 167, true},
  };
  rules.push_back({"Hit.bmp", 640, 480, false});
  for (int n = 2; n <= 7; ++n) rules.push_back({"Hit" + std::to_string(n) + ".bmp", 640, 480, false});
  for (int n = 1; n <= 10; ++n) rules.push_back({std::to_string(n) + ".bmp", 640, 480 - 293, false});
  for (int n = 1; n <= 4; ++n) rules.push_back({"Boss" + std::to_string(n) + ".bmp", 540, 480, false});
  return rules;
}

const char* const kFullScreens[] = {"Start.bmp", "fsk.bmp",   "Highscore.bmp", "Back1.bmp", "Back2.bmp",
                                    "Back3.bmp", "Back4.bmp", "welldone.bmp",  "loose.bmp"};

TEST(AssetPictures, FullScreenPicturesAre640By480) {
  for (const char* name : kFullScreens) {
    const Bitmap bmp = LoadBitmap(name);
    EXPECT_EQ(bmp.width, 640) << name;
    EXPECT_EQ(bmp.height, 480) << name;
  }
}

TEST(AssetPictures, SpritesFitWhereTheyAreDrawn) {
  for (const SpriteRule& rule : SpriteRules()) {
    const Bitmap bmp = LoadBitmap(rule.name);
    ASSERT_GT(bmp.width, 0) << rule.name;
    if (rule.exact) {
      EXPECT_EQ(bmp.width, rule.maxWidth) << rule.name;
      EXPECT_EQ(bmp.height, rule.maxHeight) << rule.name;
    } else {
      EXPECT_LE(bmp.width, rule.maxWidth) << rule.name;
      EXPECT_LE(bmp.height, rule.maxHeight) << rule.name;
    }
  }
}

TEST(AssetPictures, SpritesHaveHardEdgesOverTheBlackKey) {
  for (const SpriteRule& rule : SpriteRules()) {
    const Bitmap bmp = LoadBitmap(rule.name);
    ASSERT_GT(bmp.width, 0) << rule.name;
    const int right = bmp.width - 1, bottom = bmp.height - 1;
    EXPECT_TRUE(bmp.At(0, 0).Black() && bmp.At(right, 0).Black() && bmp.At(0, bottom).Black() &&
                bmp.At(right, bottom).Black())
        << rule.name << " has a corner that is not transparent";
    size_t opaque = 0, nearBlack = 0;
    for (const Pixel& p : bmp.pixels) {
      if (p.Black()) continue;
      ++opaque;
      if (p.r < 8 || p.g < 8 || p.b < 8) ++nearBlack;
    }
    EXPECT_EQ(nearBlack, 0u) << rule.name << " has pixels darker than (8, 8, 8)";
    EXPECT_GT(opaque, bmp.pixels.size() / 8) << rule.name << " is nearly empty";
  }
}

// The swat and the blood spots are measured from the swatter's corner: the mesh must be there.
TEST(AssetPictures, SwatterMeshFillsTheHitArea) {
  for (const char* name : {"Klatsche1.bmp", "Klatsche2.bmp"}) {
    const Bitmap bmp = LoadBitmap(name);
    ASSERT_EQ(bmp.width, 64);
    int solid = 0, total = 0;
    for (int y = 3; y <= 73; ++y) {
      for (int x = 6; x <= 60; ++x, ++total) solid += !bmp.At(x, y).Black();
    }
    EXPECT_GT(solid, total * 4 / 5) << name;
    EXPECT_FALSE(bmp.At(32, 130).Black()) << name << " has no handle";
  }
}

// Released flies appear at screen (160, 106) and (424, 110), the boss being drawn at (100, 0);
// the body sits under the boss's hit zone.
TEST(AssetPictures, BossDrawingHoldsTheSpawnSpotsAndTheBody) {
  for (int n = 1; n <= 4; ++n) {
    const std::string name = "Boss" + std::to_string(n) + ".bmp";
    const Bitmap bmp = LoadBitmap(name);
    ASSERT_GE(bmp.width, 360) << name;
    EXPECT_FALSE(bmp.At(160 - 100 + 16, 106 + 16).Black()) << name << " left spawn spot";
    EXPECT_FALSE(bmp.At(424 - 100 + 16, 110 + 16).Black()) << name << " right spawn spot";
    EXPECT_FALSE(bmp.At(335 - 100, 187).Black()) << name << " body";
  }
}

struct Wav {
  uint32_t format = 0, channels = 0, bits = 0, rate = 0;
  std::vector<int16_t> samples;
};

Wav LoadWav(const std::string& name) {
  const std::vector<uint8_t> b = FileBytes(kRun + "/snd/" + name);
  Wav wav;
  EXPECT_GE(b.size(), 12u) << name;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    ADD_FAILURE() << name << " is not a RIFF WAVE file";
    return wav;
  }
  const Bytes format = ChunkData(b, "fmt ");
  if (format.size() >= 16) {
    wav.format = ReadLe16(&format[0]);
    wav.channels = ReadLe16(&format[2]);
    wav.rate = ReadLe32(&format[4]);
    wav.bits = ReadLe16(&format[14]);
  }
  const Bytes data = ChunkData(b, "data");
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    wav.samples.push_back(static_cast<int16_t>(ReadLe16(&data[i])));
  }
  return wav;
}

int Peak(const Wav& wav) {
  int peak = 0;
  for (int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

TEST(AssetSounds, EverySoundIs16BitMonoPcmAt11025OfItsLength) {
  struct Expect {
    const char* name;
    double minSeconds, maxSeconds;
  };
  for (const Expect& e : {Expect{"Hit.WAV", 0.2, 0.3}, Expect{"Fly.WAV", 3.0, 10.0}, Expect{"au.WAV", 0.4, 0.6},
                          Expect{"go.WAV", 0.25, 0.35}}) {
    const Wav wav = LoadWav(e.name);
    EXPECT_EQ(wav.format, 1u) << e.name;
    EXPECT_EQ(wav.channels, 1u) << e.name;
    EXPECT_EQ(wav.rate, 11025u) << e.name;
    EXPECT_EQ(wav.bits, 16u) << e.name;
    const double seconds = static_cast<double>(wav.samples.size()) / 11025.0;
    EXPECT_GE(seconds, e.minSeconds) << e.name;
    EXPECT_LE(seconds, e.maxSeconds) << e.name;
    EXPECT_LT(Peak(wav), 32767) << e.name << " clips";
    EXPECT_GT(Peak(wav), 3000) << e.name << " is nearly silent";
  }
}

TEST(AssetSounds, TheSwatStandsOutOverTheBuzz) {
  EXPECT_GT(Peak(LoadWav("Hit.WAV")), 3 * Peak(LoadWav("Fly.WAV")));
}

// Each fly starts the buzz at a byte offset below 50000, and it loops without a click.
TEST(AssetSounds, BuzzIsLongEnoughAndLoopsWithoutAJump) {
  const Wav wav = LoadWav("Fly.WAV");
  ASSERT_GE(wav.samples.size() * 2, 50000u);
  std::vector<int> steps;
  for (size_t i = 1; i < wav.samples.size(); ++i) steps.push_back(std::abs(wav.samples[i] - wav.samples[i - 1]));
  std::sort(steps.begin(), steps.end());
  const int ordinaryStep = steps[steps.size() * 95 / 100];
  EXPECT_LE(std::abs(wav.samples.front() - wav.samples.back()), ordinaryStep);
}

class AssetSoundLoading : public SoundTest {};

TEST_F(AssetSoundLoading, EverySoundLoadsThroughTheGamesLoader) {
  for (const char* name : {"Hit.WAV", "Fly.WAV", "au.WAV", "go.WAV"}) {
    const std::string path = kRun + "/snd/" + name;
    const int32_t slot = SoundLoadWav(path.c_str(), 0);
    ASSERT_GE(slot, 0) << name;
    EXPECT_EQ(SoundSlots[slot].dataBytes, static_cast<int32_t>(LoadWav(name).samples.size() * 2)) << name;
  }
}

}  // namespace
