// Every sound damaged at once, in one way per game: the scripted player plays the whole game
// through all the same. A sound that cannot be read is silent; one whose chunks claim more
// than the file holds plays the bytes that are there, and never more than the file could fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/files/little_endian.h"
#include "sound/sound_slots.h"
#include "tests/support/autoplayed_game.h"

namespace {

struct SoundDamage {
  std::string name;
  Bytes (*damage)(const Bytes& original);
  bool silent;
};

// Cut in the middle of its samples, with the RIFF chunk and the data chunk claiming 2 GB.
Bytes ClaimingMore(const Bytes& original) {
  Bytes bytes(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(original.size() / 2));
  const std::string data = "data";
  const auto chunk = std::search(bytes.begin(), bytes.end(), data.begin(), data.end());
  if (bytes.size() < 8 || bytes.end() - chunk < 8) return bytes;
  WriteLe32(&bytes[4], 0x7FFFFFF0u);
  WriteLe32(&bytes[static_cast<size_t>(chunk - bytes.begin()) + 4], 0x7FFFFFE0u);
  return bytes;
}

std::vector<SoundDamage> Damages() {
  return {
      {"Empty", [](const Bytes&) { return Bytes{}; }, true},
      {"RandomBytes", RandomBytesLike, true},
      {"CutInTheHeader", [](const Bytes& original) { return Bytes(original.begin(), original.begin() + 30); },
       true},
      {"ChunksClaimingMore", ClaimingMore, false},
  };
}

class DamagedSounds : public AutoplayedGame, public ::testing::WithParamInterface<SoundDamage> {};

TEST_P(DamagedSounds, TheGameIsPlayedThroughAndHeardOnlyWhereTheBytesAre) {
  size_t largestFile = 0;
  Begin({}, [&] {
    DamageEvery("snd", [&](const Bytes& original) {
      Bytes damaged = GetParam().damage(original);
      largestFile = std::max(largestFile, damaged.size());
      return damaged;
    });
  });
  int loaded = 0;
  for (const SoundSlot& slot : SoundSlots) {
    if (slot.buffer == nullptr) continue;
    ++loaded;
    EXPECT_LE(slot.buffer->bytes, largestFile) << "slot " << slot.index;
  }
  if (GetParam().silent) {
    EXPECT_EQ(loaded, 0);
  } else {
    EXPECT_GT(loaded, 0);
  }
  PlayOn();
  ExpectPlayedToItsEnd();
  EXPECT_EQ(heard_, !GetParam().silent);
}

INSTANTIATE_TEST_SUITE_P(EverySound, DamagedSounds, ::testing::ValuesIn(Damages()),
                         [](const ::testing::TestParamInfo<SoundDamage>& param) {
                           return param.param.name;
                         });

}  // namespace
