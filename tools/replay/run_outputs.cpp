#include "tools/replay/run_outputs.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "game/state_line.h"
#include "platform/files/little_endian.h"
#include "platform/sdl/audio_mixer.h"
#include "platform/seams/flip_observer.h"
#include "platform/seams/headless.h"
#include "tools/capture/frame_png.h"
#include "tools/sound/wav_file.h"

namespace {

constexpr int kChannels = 2;  // the mix is interleaved stereo

struct Taken {
  RunOutputs asked;
  std::ofstream lines;
  std::ofstream audio;
  bool audioStarted = false;
  uint32_t audioStartMs = 0;  // the virtual clock at the first flip
  uint64_t audioFrames = 0;   // frames of the mix written so far
  std::string fault;          // the first output that failed
};
Taken taken;

std::string SystemFault(const std::string& path, const char* doing) {
  return path + ": cannot be " + doing + " (" + std::strerror(errno) + ")";
}

void NoteFault(const std::string& fault) {
  if (taken.fault.empty()) taken.fault = fault;
}

void WriteFrame(uint64_t flip) {
  if (flip % taken.asked.pngEvery != 0) return;
  char name[48];
  std::snprintf(name, sizeof name, "flip-%06llu.png", static_cast<unsigned long long>(flip));
  const std::string path = (std::filesystem::path(taken.asked.pngFolder) / name).string();
  if (!WriteFramePng(HeadlessLastFrame(), path)) NoteFault(SystemFault(path, "written"));
}

void WriteSamples(const std::vector<int16_t>& mix) {
  std::vector<uint8_t> bytes;
  bytes.reserve(mix.size() * 2);
  for (int16_t sample : mix) AppendLe16(bytes, static_cast<uint16_t>(sample));
  const bool wasGood = static_cast<bool>(taken.audio);
  taken.audio.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
  // The reason is the system's at the write that failed; by the end it holds another's.
  if (wasGood && !taken.audio) NoteFault(SystemFault(taken.asked.audioPath, "written"));
}

// The mix follows the virtual clock: each flip takes the sound of the time since the last.
void TakeSound() {
  constexpr uint64_t kLargestCapture = 1 << 16;
  const uint32_t now = HeadlessClockNow();
  if (!taken.audioStarted) {
    taken.audioStarted = true;
    taken.audioStartMs = now;
    return;
  }
  const uint64_t due = uint64_t{now - taken.audioStartMs} * AudioMixerRate() / 1000;
  while (taken.audioFrames < due) {
    const uint64_t frames = std::min(due - taken.audioFrames, kLargestCapture);
    const std::vector<int16_t> mix = AudioCaptureMix(static_cast<int>(frames));
    if (mix.empty()) return;  // no sound device: nothing to hear
    WriteSamples(mix);
    taken.audioFrames += frames;
  }
}

void OnFlip() {
  const uint64_t flip = PresentedFlipCount();
  if (taken.lines.is_open()) {
    const bool wasGood = static_cast<bool>(taken.lines);
    taken.lines << StateLine() << '\n';
    if (wasGood && !taken.lines) NoteFault(SystemFault(taken.asked.linesPath, "written"));
  }
  if (!taken.asked.pngFolder.empty()) WriteFrame(flip);
  if (taken.audio.is_open()) TakeSound();
}

bool Open(std::ofstream& file, const std::string& path, std::string* error) {
  file.open(path, std::ios::binary | std::ios::trunc);
  if (!file) *error = SystemFault(path, "written");
  return static_cast<bool>(file);
}

bool WriteHeader(uint64_t dataBytes) {
  const std::vector<uint8_t> header =
      WavHeader16(static_cast<uint32_t>(dataBytes), kChannels, AudioMixerRate());
  taken.audio.seekp(0);
  taken.audio.write(reinterpret_cast<const char*>(header.data()),
                    static_cast<std::streamsize>(header.size()));
  return static_cast<bool>(taken.audio);
}

}  // namespace

bool RunOutputsStart(const RunOutputs& outputs, std::string* error) {
  taken.asked = outputs;
  if (!outputs.pngFolder.empty()) {
    // The folder itself is made, never its parents: a mistyped path makes nothing far away.
    std::error_code fault;
    std::filesystem::create_directory(outputs.pngFolder, fault);
    if (fault || !std::filesystem::is_directory(outputs.pngFolder)) {
      *error = outputs.pngFolder + ": cannot be made a folder" +
               (fault ? " (" + fault.message() + ")" : "");
      return false;
    }
  }
  if (!outputs.linesPath.empty() && !Open(taken.lines, outputs.linesPath, error)) return false;
  if (!outputs.audioPath.empty()) {
    // Room for the header, written when the length is known.
    if (!Open(taken.audio, outputs.audioPath, error) || !WriteHeader(0)) return false;
  }
  AddFlipObserver(OnFlip);
  return true;
}

bool RunOutputsFinish(std::string* error) {
  if (taken.lines.is_open()) {
    taken.lines.close();
    if (!taken.lines) NoteFault(SystemFault(taken.asked.linesPath, "written"));
  }
  if (taken.audio.is_open()) {
    const uint64_t dataBytes = taken.audioFrames * kChannels * 2;
    if (dataBytes > UINT32_MAX - 36) {
      NoteFault(taken.asked.audioPath + ": the sound is too long for a WAV file");
    } else if (!WriteHeader(dataBytes)) {
      NoteFault(SystemFault(taken.asked.audioPath, "written"));
    }
    taken.audio.close();
  }
  if (taken.fault.empty()) return true;
  *error = taken.fault;
  return false;
}
