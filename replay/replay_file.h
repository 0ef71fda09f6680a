// A replay: what the player's devices said, read by read, as a text file (docs/replay.md).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/seams/play_under_way.h"

// What a line speaks for. Mouse and keyboard lines answer device reads; clock lines answer
// readings of the rules clock.
enum class ReplayChannel { Mouse, Keys, Clock };
constexpr int kReplayChannels = 3;

// Where a read stands: flips presented before it, and reads of its channel since that flip.
struct ReplayPosition {
  uint64_t flip = 0;
  uint64_t read = 0;
  auto operator<=>(const ReplayPosition&) const = default;
};

struct ReplayLine {
  ReplayChannel channel = ReplayChannel::Mouse;
  ReplayPosition at;
  int32_t dx = 0;  // mouse: motion in counts, and the two buttons
  int32_t dy = 0;
  bool left = false;
  bool right = false;
  std::vector<uint8_t> keys;  // keys: the DIK codes held from this read on
  uint32_t ms = 0;            // clock: what the reading returns
  int lineNumber = 0;         // in the file it came from; 0 for a recorded line
};

// Highscore.dat's 400 bytes: the table a replay's program started with.
using ReplayTable = std::array<uint8_t, 400>;

// Where a replay of one game starts: the flip after the click on Play that began it, counted in
// the session that played it, and what the rules carried into the game from before.
struct ReplayStart {
  uint64_t flip = 0;
  CarriedState carried;
  int lineNumber = 0;
};

struct Replay {
  std::optional<ReplayStart> start;  // none: from the program's start
  std::optional<ReplayTable> table;  // none: the default table, as with no Highscore.dat
  int tableLineNumber = 0;
  std::vector<ReplayLine> lines;  // in the order of the file, which is the order of the reads
  std::optional<uint64_t> endFlip;
  int endLineNumber = 0;
};

// Reads a replay. On a fault returns nothing and sets `error` to "NAME:LINE: what is wrong"
// (or "NAME: what is wrong" when it is not about one line).
std::optional<Replay> ParseReplay(const std::string& text, const std::string& name,
                                  std::string* error);
std::optional<Replay> LoadReplay(const std::string& path, std::string* error);
// A replay file's text, unparsed: false, with "PATH: why", for what is no file, a file larger
// than a replay may be, or one that cannot be read.
bool ReadReplayText(const std::string& path, std::string* text, std::string* error);
// A replay file larger than this is refused before it is read: parsed, a replay takes several
// times its size, and a game of a line a frame fills this in about two hours.
constexpr long kLargestReplayBytes = 8L << 20;

// No replay leaves more flips than this between two of its lines, before its first or between
// its last and its end: ten minutes at 60 flips a second. Each line buys the run at most that
// many flips, so a short file cannot ask for years of play; a recorder that sees the game
// idle that long writes a line that changes nothing (docs/replay.md).
constexpr uint64_t kMostFlipsBetweenLines = 36000;

// The text of a replay, which ParseReplay reads back to the same replay.
std::string FormatReplay(const Replay& replay);
// Its parts, for a recorder that writes a replay as the game goes: the first line, the start
// and table lines, one line of a read, and the end.
std::string ReplayHeaderText();
std::string ReplayStartText(const ReplayStart& start);
std::string ReplayTableText(const ReplayTable& table);
std::string ReplayLineText(const ReplayLine& line);
std::string ReplayEndText(uint64_t flip);

const char* ReplayChannelName(ReplayChannel channel);
