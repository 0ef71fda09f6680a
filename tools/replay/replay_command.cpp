#include "tools/replay/replay_command.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <map>

const char kReplayUsage[] =
    "usage: zimbrel-replay play FILE [--rules-only] [--lines OUT] [--png DIR [--every N]] "
    "[--audio OUT.wav] [--highscores OUT] | zimbrel-replay record FILE [--lines OUT] [--highscores OUT] | "
    "zimbrel-replay autoplay FILE [--until-stage N] [--name ABC] [--lazy-boss] [--lines OUT] [--png DIR "
    "[--every N]] [--audio OUT.wav] [--highscores OUT] | zimbrel-replay soak [--minutes N]";

namespace {

template <typename Number>
bool ParseNumber(const std::string& word, Number* number) {
  const char* end = word.data() + word.size();
  const auto [stop, fault] = std::from_chars(word.data(), end, *number);
  return fault == std::errc() && stop == end;
}

// Minutes may have a fraction. Not std::from_chars: emscripten's standard library has it for
// integers only. What strtod takes and from_chars does not (leading spaces, a plus sign,
// hexadecimal) is refused.
bool ParseNumber(const std::string& word, double* number) {
  if (word.empty() || std::isspace(static_cast<unsigned char>(word[0])) || word[0] == '+' ||
      word.find_first_of("xX") != std::string::npos) {
    return false;
  }
  char* stop = nullptr;
  errno = 0;
  *number = std::strtod(word.c_str(), &stop);
  return errno == 0 && stop == word.c_str() + word.size();
}

bool ParseEvery(const std::string& word, uint64_t* every) {
  return ParseNumber(word, every) && *every > 0;
}

// A name the highscore screen can take: one to three capital letters and digits.
bool NameTypable(const std::string& name) {
  if (name.empty() || name.size() > 3) return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// The scripted player's own options, and the soak's.
struct AutoplayWords {
  std::string untilStage;
  std::string name;
  std::string minutes;
};

bool ApplyAutoplayWords(const AutoplayWords& words, ReplayCommand& command, std::string* error) {
  if (!words.untilStage.empty() &&
      !(ParseNumber(words.untilStage, &command.untilStage) && command.untilStage >= 1 &&
        command.untilStage <= 10)) {
    *error = "--until-stage takes a stage from 1 to 10, not '" + words.untilStage + "'";
    return false;
  }
  if (!words.name.empty()) {
    if (!NameTypable(words.name)) {
      *error = "--name takes one to three capital letters or digits, not '" + words.name + "'";
      return false;
    }
    command.name = words.name;
  }
  // A day of game time at most (the virtual clock counts milliseconds in 32 bits); a fraction
  // of a minute for a quick check.
  if (!words.minutes.empty() &&
      !(ParseNumber(words.minutes, &command.soakMinutes) && command.soakMinutes >= 0 &&
        command.soakMinutes <= 24 * 60)) {
    *error = "--minutes takes a number of minutes from 0 to 1440, not '" + words.minutes + "'";
    return false;
  }
  return true;
}

// The options each verb takes, and where each one's value goes.
std::map<std::string, std::string*> OptionsOf(ReplayCommand& command, std::string* every,
                                              AutoplayWords* autoplay) {
  if (command.verb == ReplayVerb::Soak) return {{"--minutes", &autoplay->minutes}};
  std::map<std::string, std::string*> options = {
      {"--lines", &command.outputs.linesPath},
      {"--highscores", &command.highscoresPath},
  };
  if (command.verb != ReplayVerb::Record) {
    options["--png"] = &command.outputs.pngFolder;
    options["--every"] = every;
    options["--audio"] = &command.outputs.audioPath;
  }
  if (command.verb == ReplayVerb::Autoplay) {
    options["--until-stage"] = &autoplay->untilStage;
    options["--name"] = &autoplay->name;
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
  } else if (verb == "autoplay") {
    command.verb = ReplayVerb::Autoplay;
  } else if (verb == "soak") {
    command.verb = ReplayVerb::Soak;
  } else {
    *error = "unknown command '" + verb + "'; " + kReplayUsage;
    return std::nullopt;
  }
  const bool needsFile = command.verb != ReplayVerb::Soak;
  if (needsFile && (argc < 3 || std::string(argv[2]).starts_with("--"))) {
    *error = verb + " needs a replay FILE; " + kReplayUsage;
    return std::nullopt;
  }
  if (needsFile) command.file = argv[2];
  std::string every;
  AutoplayWords autoplay;
  std::map<std::string, std::string*> options = OptionsOf(command, &every, &autoplay);
  for (int i = needsFile ? 3 : 2; i < argc; i += 2) {
    const std::string option = argv[i];
    // The options without a value.
    if (option == "--lazy-boss" && command.verb == ReplayVerb::Autoplay) {
      command.lazyBoss = true;
      --i;
      continue;
    }
    if (option == "--rules-only" && command.verb == ReplayVerb::Play) {
      command.rulesOnly = true;
      --i;
      continue;
    }
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
  if (command.rulesOnly &&
      !(command.outputs.pngFolder.empty() && command.outputs.audioPath.empty())) {
    *error = "--rules-only draws and sounds nothing: it takes no --png nor --audio";
    return std::nullopt;
  }
  if (!ApplyAutoplayWords(autoplay, command, error)) return std::nullopt;
  return command;
}
