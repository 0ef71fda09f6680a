// The RIFF reader's chunk navigation, on files written byte by byte.
#include "platform/win32/mmio.h"

#include "tests/support/riff_bytes.h"
#include "tests/support/sound_fixture.h"

namespace {

class MmioTest : public SoundTest {};

TEST_F(MmioTest, DescendAscendAndReadWalkTheChunksOfAForm) {
  const Bytes file = RiffForm("WAVE", {Chunk("odd ", {1, 2, 3}),
                                       Chunk("LIST", {'I', 'N', 'F', 'O', 9}),
                                       Chunk("abcd", {7, 8})});
  HMMIO mmio = mmioOpenA(WriteFile("walk.riff", file).c_str(), nullptr, MMIO_ALLOCBUF);
  ASSERT_NE(mmio, nullptr);

  MMCKINFO form{};
  form.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(mmio, &form, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
  EXPECT_EQ(form.ckid, FOURCC_RIFF);
  EXPECT_EQ(form.cksize, file.size() - 8);
  EXPECT_EQ(form.dwDataOffset, 8u);

  // Plain descent takes the next chunk, whatever it is.
  MMCKINFO chunk{};
  ASSERT_EQ(mmioDescend(mmio, &chunk, &form, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(chunk.ckid, mmioFOURCC('o', 'd', 'd', ' '));
  EXPECT_EQ(chunk.cksize, 3u);
  char byte = 0;
  EXPECT_EQ(mmioRead(mmio, &byte, 1), 1);
  EXPECT_EQ(byte, 1);
  // Ascent skips the rest and the pad byte: the next descent finds the list.
  ASSERT_EQ(mmioAscend(mmio, &chunk, 0), MMSYSERR_NOERROR);
  MMCKINFO list{};
  list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
  ASSERT_EQ(mmioDescend(mmio, &list, &form, MMIO_FINDLIST), MMSYSERR_NOERROR);
  EXPECT_EQ(mmioRead(mmio, &byte, 1), 1);
  EXPECT_EQ(byte, 9);
  ASSERT_EQ(mmioAscend(mmio, &list, 0), MMSYSERR_NOERROR);

  chunk.ckid = mmioFOURCC('a', 'b', 'c', 'd');
  ASSERT_EQ(mmioDescend(mmio, &chunk, &form, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  char two[4] = {};
  EXPECT_EQ(mmioRead(mmio, two, 4), 2);  // the file ends after two bytes
  EXPECT_EQ(two[1], 8);
  EXPECT_EQ(mmioRead(mmio, two, 4), 0);

  // A search from the start finds chunks anywhere in the form, and nothing beyond it.
  ASSERT_EQ(mmioSeek(mmio, 12, SEEK_SET), 12);
  chunk.ckid = mmioFOURCC('a', 'b', 'c', 'd');
  EXPECT_EQ(mmioDescend(mmio, &chunk, &form, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  chunk.ckid = mmioFOURCC('n', 'o', 'n', 'e');
  EXPECT_EQ(mmioDescend(mmio, &chunk, &form, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
  EXPECT_EQ(mmioClose(mmio, 0), MMSYSERR_NOERROR);
}

TEST_F(MmioTest, OpenRefusesMissingFilesAndWriting) {
  const std::string path = WriteFile("present.riff", RiffForm("WAVE", {}));
  EXPECT_EQ(mmioOpenA(PathOf("absent.riff").c_str(), nullptr, MMIO_ALLOCBUF), nullptr);
  EXPECT_EQ(mmioOpenA(path.c_str(), nullptr, MMIO_WRITE), nullptr);
  EXPECT_EQ(mmioOpenA(nullptr, nullptr, MMIO_ALLOCBUF), nullptr);
  HMMIO mmio = mmioOpenA(path.c_str(), nullptr, MMIO_ALLOCBUF | MMIO_READ);
  ASSERT_NE(mmio, nullptr);
  EXPECT_EQ(mmioSeek(mmio, 0, SEEK_END), 12);
  EXPECT_EQ(mmioRead(mmio, nullptr, -1), -1);
  mmioClose(mmio, 0);
}

}  // namespace
