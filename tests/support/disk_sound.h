// The sound of a game run with SDL's disk audio driver (SDL_AUDIODRIVER=disk, and
// SDL_DISKAUDIOFILE naming the file): the device's raw samples, here 16-bit signed stereo in
// the machine's order, appended as the device plays them, so that the file's size marks a
// moment of the run. Silence is samples of exactly 0: with nothing playing the mixer adds up
// nothing.
#pragma once

#include <cstdint>
#include <filesystem>

class DiskSound {
 public:
  explicit DiskSound(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path& File() const { return file_; }
  // How much the device has played so far, in bytes of the file.
  std::uintmax_t Played() const;
  // The share of the samples between two marks (to the end of the file when `to` is past it)
  // that are not 0; 0 when there are none.
  double SoundingShare(std::uintmax_t from, std::uintmax_t to) const;
  // How many bytes of samples lie between two marks, as far as the file reaches.
  std::uintmax_t BytesBetween(std::uintmax_t from, std::uintmax_t to) const;

  // A quarter of a second of sound: more than the driver's buffers hold.
  static constexpr std::uintmax_t kQuarterSecond = 44100 * 4 / 4;

 private:
  std::filesystem::path file_;
};
