#include "replay_command.h"

#include <charconv>
#include <map>

const char kReplayUsage[] =
    "usage: zimbrel-replay play FILE [--lines OUT] [--png DIR [--every N]] [--audio OUT.wav] "
    "[--highscores OUT] | zimbrel-replay record FILE [--lines OUT] [--highscores OUT]";

namespace {

bool ParseEvery(const std::string& word, uint64_t* every) {
  const char* end = word.data() + word.size();
  const auto [stop, fault] = std::from_chars(word.data(), end, *every);
  return fault == std::errc() && stop == end && *every > 0;
}

// The options each verb takes, and where each one's value goes.
std::map<std::string, std::string*> OptionsOf(ReplayCommand& command, std::string* every) {
  std::map<std::string, std::string*> options = {
      {"--lines", &command.outputs.linesPath},
      {"--highscores", &command.highscoresPath},
  };
  if (command.verb == ReplayVerb::Play) {
    options["--png"] = &command.outputs.pngFolder;
    options["--every"] = every;
    options["--audio"] = &command.outputs.audioPath;
  }
  return options;
}

}  // namespace

std::optional<ReplayCommand> ParseReplayCommand(int argc, char** argv, std::string* error) {
  ReplayCommand command;
  if (argc < 2) {
    *error = std::string("no command; ") + kReplayUsage;
    return std::nullopt;
  }
  const std::string verb = argv[1];
  if (verb == "play") {
    command.verb = ReplayVerb::Play;
  } else if (verb == "record") {
    command.verb = ReplayVerb::Record;
  } else {
    *error = "unknown command '" + verb + "'; " + kReplayUsage;
    return std::nullopt;
  }
  if (argc < 3 || std::string(argv[2]).starts_with("--")) {
    *error = verb + " needs a replay FILE; " + kReplayUsage;
    return std::nullopt;
  }
  command.file = argv[2];
  std::string every;
  std::map<std::string, std::string*> options = OptionsOf(command, &every);
  for (int i = 3; i < argc; i += 2) {
    const std::string option = argv[i];
    const auto found = options.find(option);
    if (found == options.end()) {
      *error = verb + " takes no option '" + option + "'; " + kReplayUsage;
      return std::nullopt;
    }
    if (i + 1 >= argc || std::string(argv[i + 1]).empty()) {
      *error = option + " needs a value";
      return std::nullopt;
    }
    if (!found->second->empty()) {
      *error = option + " is given twice";
      return std::nullopt;
    }
    *found->second = argv[i + 1];
  }
  if (!every.empty()) {
    if (command.outputs.pngFolder.empty()) {
      *error = "--every needs --png";
      return std::nullopt;
    }
    if (!ParseEvery(every, &command.outputs.pngEvery)) {
      *error = "--every takes a whole number of flips, 1 or more, not '" + every + "'";
      return std::nullopt;
    }
  }
  return command;
}
