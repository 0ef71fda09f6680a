// Which WAV files load and which are refused, and what a loaded buffer holds.
#include <cstring>

#include "tests/support/riff_bytes.h"
#include "tests/support/sound_fixture.h"

namespace {

class WavFilesTest : public SoundTest {
 protected:
  // A well-formed 16-bit mono 11025 Hz file of 1000 samples, as sox writes it.
  Bytes SoxFile() {
    return FileBytes(SoxTone("plain.wav", "synth " + Samples(1000) + " sine 441"));
  }

  // The bytes a slot's buffer holds.
  static Bytes BufferBytes(int32_t slot) {
    LPDIRECTSOUNDBUFFER buffer = SoundSlots[slot].buffer;
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    EXPECT_EQ(buffer->Lock(0, 0, &part1, &bytes1, &part2, &bytes2, DSBLOCK_ENTIREBUFFER), DS_OK);
    const auto* data = static_cast<const uint8_t*>(part1);
    Bytes bytes(data, data + bytes1);
    buffer->Unlock(part1, bytes1, part2, bytes2);
    return bytes;
  }

  void ExpectRefused(const std::string& path) {
    SoundSlot before[SoundSlotCount];
    std::memcpy(before, SoundSlots, sizeof before);
    EXPECT_EQ(SoundLoadWav(path.c_str(), 0), -1);
    EXPECT_EQ(std::memcmp(before, SoundSlots, sizeof before), 0);
  }
};

TEST_F(WavFilesTest, PcmFilesOfAnyLayoutLoadTheirBytesUnchanged) {
  struct Case {
    const char* name;
    const char* format;
    int32_t rate;
  };
  const Case cases[] = {
      {"mono16.wav", "-r 11025 -b 16 -c 1 -e signed-integer", 11025},
      {"mono8.wav", "-r 11025 -b 8 -c 1 -e unsigned-integer", 11025},
      {"stereo16.wav", "-r 11025 -b 16 -c 2 -e signed-integer", 11025},
      {"fast16.wav", "-r 22050 -b 16 -c 1 -e signed-integer", 22050},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Sox(c.name, c.format, "synth 0.05 sine 300");
    const Bytes data = ChunkData(FileBytes(path), "data");
    ASSERT_GT(data.size(), 100u);
    const int32_t slot = SoundLoadWav(path.c_str(), 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(SoundSlots[slot].sampleRate, c.rate);
    EXPECT_EQ(SoundSlots[slot].dataBytes, static_cast<int32_t>(data.size()));
    EXPECT_EQ(BufferBytes(slot), data);
  }
}

TEST_F(WavFilesTest, EighteenByteFormatAndAnOddChunkBeforeItLoadLikeThePlainFile) {
  const Bytes plain = SoxFile();
  const Bytes data = ChunkData(plain, "data");
  Bytes format18 = ChunkData(plain, "fmt ");
  ASSERT_EQ(format18.size(), 16u);
  format18.insert(format18.end(), {0, 0});
  const Bytes list = Chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 3, 0, 0, 0, 'x', 'y', 0});
  const std::string files[] = {
      WriteFile("fmt18.wav", RiffForm("WAVE", {Chunk("fmt ", format18), Chunk("data", data)})),
      WriteFile("list.wav", RiffForm("WAVE", {list, Chunk("fmt ", ChunkData(plain, "fmt ")),
                                              Chunk("data", data)})),
      WriteFile("between.wav", RiffForm("WAVE", {Chunk("fmt ", format18), Chunk("odd ", {1, 2, 3}),
                                                 Chunk("data", data)})),
  };
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const int32_t slot = SoundLoadWav(file.c_str(), 0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(SoundSlots[slot].dataBytes, 2000);
    EXPECT_EQ(BufferBytes(slot), data);
  }
}

TEST_F(WavFilesTest, FilesThatAreNotPcmWaveAreRefused) {
  const Bytes plain = SoxFile();
  const Bytes format = ChunkData(plain, "fmt ");
  const Bytes data = ChunkData(plain, "data");
  ExpectRefused(Sox("float.wav", "-r 11025 -b 32 -c 1 -e floating-point", "synth 0.05 sine 300"));
  ExpectRefused(Sox("extensible.wav", "-r 11025 -b 24 -c 1 -e signed-integer", "synth 0.05 sine 300"));
  ExpectRefused(PathOf("missing.wav"));
  ExpectRefused(WriteFile("empty.wav", {}));
  ExpectRefused(WriteFile("text.wav", Bytes(100, 'x')));
  ExpectRefused(WriteFile("avi.wav", RiffForm("AVI ", {Chunk("fmt ", format), Chunk("data", data)})));
  ExpectRefused(WriteFile("nofmt.wav", RiffForm("WAVE", {Chunk("data", data)})));
  ExpectRefused(WriteFile("nodata.wav", RiffForm("WAVE", {Chunk("fmt ", format)})));
  // The format ends with the file before its 18 bytes.
  ExpectRefused(WriteFile("shortfmt.wav", RiffForm("WAVE", {Chunk("fmt ", Bytes(format.begin(), format.begin() + 10))})));
  // The data chunk lies outside the RIFF form that should hold it.
  Bytes outside = RiffForm("WAVE", {Chunk("fmt ", format)});
  const Bytes dataChunk = Chunk("data", data);
  outside.insert(outside.end(), dataChunk.begin(), dataChunk.end());
  ExpectRefused(WriteFile("outside.wav", outside));
  // A claimed chunk size that runs past the end of the file while searching.
  ExpectRefused(WriteFile("runaway.wav", RiffForm("WAVE", {Chunk("junk", {1, 2}, 0xFFFFFFF0), Chunk("fmt ", format), Chunk("data", data)})));
  EXPECT_EQ(SoundLoadWav(WriteFile("good.wav", plain).c_str(), 0), 0);
}

TEST_F(WavFilesTest, ADataChunkClaimingMoreThanTheFileLoadsTheBytesPresent) {
  const Bytes plain = SoxFile();
  const Bytes format = ChunkData(plain, "fmt ");
  const Bytes data = ChunkData(plain, "data");
  const std::string liar =
      WriteFile("liar.wav", RiffForm("WAVE", {Chunk("fmt ", format), Chunk("data", data, 0x7FFFFFF0)}));
  const int32_t slot = SoundLoadWav(liar.c_str(), 0);
  ASSERT_EQ(slot, 0);
  EXPECT_EQ(SoundSlots[slot].dataBytes, 2000);
  EXPECT_EQ(BufferBytes(slot), data);

  const std::string hollow =
      WriteFile("hollow.wav", RiffForm("WAVE", {Chunk("fmt ", format), Chunk("data", {}, 4000)}));
  ExpectRefused(hollow);
}

TEST_F(WavFilesTest, EveryTruncationOfAFileLoadsWhatIsLeftOrIsRefused) {
  const Bytes plain = SoxFile();
  ASSERT_EQ(plain.size(), 44u + 2000u);
  for (size_t length = 0; length <= plain.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string path = WriteFile("cut.wav", Bytes(plain.begin(), plain.begin() + length));
    const int32_t slot = SoundLoadWav(path.c_str(), 0);
    // A buffer holds at least two samples.
    if (length < 44 + DSBSIZE_MIN) {
      ASSERT_EQ(slot, -1);
      ASSERT_EQ(SoundSlots[0].inUse, 0);
    } else {
      ASSERT_EQ(slot, 0);
      ASSERT_EQ(SoundSlots[0].dataBytes, static_cast<int32_t>(length - 44));
      ASSERT_EQ(SoundInit(), 1);
    }
  }
}

TEST_F(WavFilesTest, BackslashNamesAreFoldersUnderTheWorkingDirectory) {
  std::filesystem::create_directory(PathOf("snd"));
  WriteBytes(PathOf("snd/Hit.WAV"), SoxFile());
  ASSERT_EQ(chdir(folder_.c_str()), 0);
  EXPECT_EQ(SoundLoadWav("snd\\Hit.WAV", DSBCAPS_CTRLPAN), 0);
  EXPECT_EQ(SoundLoadWav("snd\\hit.wav", 0), -1);
}

}  // namespace
