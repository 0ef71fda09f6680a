// The command line of zimbrel-replay.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/options/player_options.h"
#include "tools/replay/run_outputs.h"

enum class ReplayVerb { Play, Record, Autoplay, Verify, Analyze, Watch, Soak, Help, Version };

struct ReplayCommand {
  ReplayVerb verb = ReplayVerb::Play;
  std::string file;                // the replay read, or written by a recording
  std::vector<std::string> files;  // verify, analyze: every replay checked
  RunOutputs outputs;
  std::string highscoresPath;  // where the Highscore.dat of the run goes; empty: nowhere
  int untilStage = 10;         // autoplay: gives up once this stage is won
  std::string name = "BOT";    // autoplay: the name typed into the highscores
  bool lazyBoss = false;       // autoplay: some of the boss's flies are let escape
  bool rulesOnly = false;      // play: nothing drawn, for the speed of the rules alone
  // soak: minutes of game time in which new games are started; autoplay: the same, when given
  double minutes = 30;
  bool minutesGiven = false;
  double cpuLimit = 30;  // verify, analyze: CPU seconds a file may take
  PlayerOptions window;  // watch: the window and the sound
  uint64_t startFlip = 0;  // watch: held at this flip from the start; 0: played from the start
};

// The command, or nothing with `error` saying what is wrong with the arguments.
std::optional<ReplayCommand> ParseReplayCommand(int argc, char** argv, std::string* error);

// Every file a command reads and writes, made absolute; false, with why, when two of them are
// one file (an output written over the replay it reads, or over another output).
bool FilesApart(ReplayCommand& command, std::string* error);

extern const char kReplayUsage[];
