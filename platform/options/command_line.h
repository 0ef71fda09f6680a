// The player's command line:
//   zimbrel [--fullscreen | --window] [--scale N] [--mute] [-h | --help] [--version]
#pragma once

#include <string>
#include <vector>

#include "platform/options/player_options.h"

struct CommandLine {
  enum class Action { Play, ShowHelp, ShowVersion, Refuse };
  Action action = Action::Play;
  PlayerOptions options;
  std::string fault;  // for Refuse: which argument, and what is wrong with it
};

// The arguments after the program's name. Every argument is checked before help or version
// is answered, so that a typing error is never taken for a question.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
std::string VersionText();
// The version alone, as kept games name the program that kept them.
std::string ProgramVersion();
