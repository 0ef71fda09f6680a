// Pictures missing or damaged: the whole game is played through by the scripted player and
// still ends as it should. A picture that cannot be read leaves its number empty, draws
// nothing and never stops the game, the swatter and the cursor included; and reading a
// damaged file never asks for more memory than the screen's own pictures need.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/cursor_images.h"
#include "graphics/image_slots.h"
#include "platform/files/little_endian.h"
#include "tests/support/autoplayed_game.h"
#include "tools/capture/frame_png.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Pictures() {
  std::vector<std::string> names;
  const fs::path folder = fs::path(ZIMBREL_RUN_DIR) / "gfx";
  if (!fs::is_directory(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class MissingPicture : public AutoplayedGame, public ::testing::WithParamInterface<std::string> {};

TEST_P(MissingPicture, TheGameIsPlayedThroughToItsEndAllTheSame) {
  Begin({"gfx/" + GetParam()});
  PlayOn();
  ExpectPlayedToItsEnd();
}

INSTANTIATE_TEST_SUITE_P(EachInTurn, MissingPicture, ::testing::ValuesIn(Pictures()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param.substr(0, param.param.find('.'));
                           return "Without" + name;
                         });

// The largest single block SDL is asked for, whether or not it could give it.
std::atomic<size_t> largestRequest{0};
SDL_malloc_func sdlMalloc;
SDL_calloc_func sdlCalloc;
SDL_realloc_func sdlRealloc;
SDL_free_func sdlFree;

void NoteRequest(size_t bytes) {
  size_t seen = largestRequest.load();
  while (bytes > seen && !largestRequest.compare_exchange_weak(seen, bytes)) {
  }
}
void* CountedMalloc(size_t bytes) {
  NoteRequest(bytes);
  return sdlMalloc(bytes);
}
void* CountedCalloc(size_t count, size_t bytes) {
  NoteRequest(count * bytes);
  return sdlCalloc(count, bytes);
}
void* CountedRealloc(void* block, size_t bytes) {
  NoteRequest(bytes);
  return sdlRealloc(block, bytes);
}

// A 640 x 480 picture at 32 bits per pixel, twice: the most the screen's own pictures need.
constexpr size_t kLargestJustified = 2 * 640 * 480 * 4;

uint32_t DwordAt(const Bytes& bytes, size_t at) {
  return at + 4 <= bytes.size() ? ReadLe32(&bytes[at]) : 0;
}

// A well-formed bitmap of the picture's size, compressed with 8-bit runs of one green.
Bytes RunLengthBitmap(const Bytes& original) {
  const uint32_t width = DwordAt(original, 18);
  const uint32_t height = DwordAt(original, 22);
  Bytes runs;
  for (uint32_t row = 0; row < height; ++row) {
    for (uint32_t done = 0; done < width;) {
      const uint32_t run = std::min<uint32_t>(255, width - done);
      runs.insert(runs.end(), {static_cast<uint8_t>(run), 1});
      done += run;
    }
    runs.insert(runs.end(), {0, 0});
  }
  runs.insert(runs.end(), {0, 1});
  Bytes bytes(14 + 40 + 8, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  WriteLe32(&bytes[2], static_cast<uint32_t>(bytes.size() + runs.size()));
  WriteLe32(&bytes[10], static_cast<uint32_t>(bytes.size()));
  WriteLe32(&bytes[14], 40);
  WriteLe32(&bytes[18], width);
  WriteLe32(&bytes[22], height);
  bytes[26] = 1;   // planes
  bytes[28] = 8;   // bits per pixel
  bytes[30] = 1;   // BI_RLE8
  WriteLe32(&bytes[34], static_cast<uint32_t>(runs.size()));
  bytes[46] = 2;   // colours used
  WriteLe32(&bytes[58], 0x00208040);
  runs.insert(runs.begin(), bytes.begin(), bytes.end());
  return runs;
}

// The same runs padded with zeros to the bytes the header's size claims uncompressed, so that
// only the refusal of runs itself turns it away.
Bytes PaddedRunLengthBitmap(const Bytes& original) {
  Bytes bytes = RunLengthBitmap(original);
  const size_t rowBytes = (DwordAt(bytes, 18) * 8 + 31) / 32 * 4;
  const size_t claimed = DwordAt(bytes, 10) + rowBytes * DwordAt(bytes, 22);
  if (bytes.size() < claimed) bytes.resize(claimed, 0);
  return bytes;
}

Bytes PngBytes() {
  CapturedFrame frame;
  frame.width = 16;
  frame.height = 16;
  frame.pixels.assign(256, 0x00C08040);
  const fs::path path = fs::temp_directory_path() / ("zimbrel-png-" + std::to_string(getpid()));
  if (!WriteFramePng(frame, path.string())) return {};
  Bytes bytes = FileBytes(path);
  fs::remove(path);
  return bytes;
}

struct PictureDamage {
  std::string name;
  Bytes (*damage)(const Bytes& original);  // nullptr: a folder of that name
};

void PrintTo(const PictureDamage& damage, std::ostream* out) { *out << damage.name; }

std::vector<PictureDamage> Damages() {
  return {
      {"Empty", [](const Bytes&) { return Bytes{}; }},
      {"TruncatedBitmap",
       [](const Bytes& original) {
         return Bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(original.size() / 2));
       }},
      {"RandomBytes", RandomBytesLike},
      {"HundredThousandPixelsSquare",
       [](const Bytes& original) {
         Bytes bytes = original;
         WriteLe32(&bytes[18], 100000);
         WriteLe32(&bytes[22], 100000);
         return bytes;
       }},
      {"RunLengthBitmap", RunLengthBitmap},
      {"RunLengthBitmapPaddedToItsClaimedSize", PaddedRunLengthBitmap},
      {"PngRenamed", [](const Bytes&) { return PngBytes(); }},
      {"Folder", nullptr},
  };
}

class DamagedPictures : public AutoplayedGame, public ::testing::WithParamInterface<PictureDamage> {
 protected:
  void SetUp() override {
    SDL_GetMemoryFunctions(&sdlMalloc, &sdlCalloc, &sdlRealloc, &sdlFree);
    SDL_SetMemoryFunctions(CountedMalloc, CountedCalloc, CountedRealloc, sdlFree);
  }
  // Blocks taken while counting go back through the same free.
  void TearDown() override { SDL_SetMemoryFunctions(sdlMalloc, sdlCalloc, sdlRealloc, sdlFree); }
};

// Every picture damaged the same way at once: the title, the stages, the boss, the swatter
// and the fly cursor all without their pictures (a picture compressed in runs is refused). The
// scripted player still plays the whole game through and leaves it by the exit picture.
TEST_P(DamagedPictures, LeaveEveryNumberEmptyAndTheGamePlayable) {
  Begin({}, [] {
    for (const auto& entry : fs::directory_iterator("gfx")) {
      if (GetParam().damage == nullptr) {
        fs::remove(entry.path());
        fs::create_directory(entry.path());
      }
    }
    if (GetParam().damage != nullptr) DamageEvery("gfx", GetParam().damage);
  });
  // Number 34 is never loaded.
  for (int number = 0; number < kImageSlotCount - 1; ++number) {
    EXPECT_EQ(ImageSlots[number], nullptr) << number;
  }
  for (IDirectDrawSurface7* image : CursorImages.images) EXPECT_EQ(image, nullptr);
  PlayOn();
  ExpectPlayedToItsEnd();
  EXPECT_LE(largestRequest.load(), kLargestJustified);
}

INSTANTIATE_TEST_SUITE_P(EveryPicture, DamagedPictures, ::testing::ValuesIn(Damages()),
                         [](const ::testing::TestParamInfo<PictureDamage>& param) {
                           return param.param.name;
                         });

}  // namespace
