// The command line of zimbrel-replay.
#pragma once

#include <optional>
#include <string>

#include "tools/replay/run_outputs.h"

enum class ReplayVerb { Play, Record, Autoplay, Soak };

struct ReplayCommand {
  ReplayVerb verb = ReplayVerb::Play;
  std::string file;            // the replay read, or written by a recording; none for a soak
  RunOutputs outputs;
  std::string highscoresPath;  // where the Highscore.dat of the run goes; empty: nowhere
  int untilStage = 10;         // autoplay: gives up once this stage is won
  std::string name = "BOT";    // autoplay: the name typed into the highscores
  bool lazyBoss = false;       // autoplay: some of the boss's flies are let escape
  bool rulesOnly = false;      // play: nothing drawn, for the speed of the rules alone
  double soakMinutes = 30;     // soak: minutes of game time in which new games are started
};

// The command, or nothing with `error` saying what is wrong with the arguments.
std::optional<ReplayCommand> ParseReplayCommand(int argc, char** argv, std::string* error);

extern const char kReplayUsage[];
