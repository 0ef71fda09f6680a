#include "tools/replay/replay_command.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/options/command_line.h"
#include "platform/options/quoted_text.h"

namespace fs = std::filesystem;

const char kReplayUsage[] =
    "usage: zimbrel-replay play FILE [--rules-only] [--lines OUT] [--png DIR [--every N]] "
    "[--audio OUT.wav] [--highscores OUT] | zimbrel-replay record FILE [--lines OUT] "
    "[--highscores OUT] | zimbrel-replay autoplay FILE [--until-stage N] [--name ABC] "
    "[--lazy-boss] [--minutes N] [--lines OUT] [--png DIR [--every N]] [--audio OUT.wav] "
    "[--highscores OUT] | zimbrel-replay verify FILE... [--cpu-limit SECONDS] | zimbrel-replay "
    "analyze FILE... [--cpu-limit SECONDS] | zimbrel-replay watch FILE [--flip N] [--fullscreen | --window] [--scale N] [--mute] | zimbrel-replay soak "
    "[--minutes N] | zimbrel-replay --version";

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

// The values of the options that are numbers or names, checked once all are read.
struct Words {
  std::string every;
  std::string untilStage;
  std::string name;
  std::string minutes;
  std::string cpuLimit;
};

bool ApplyWords(const Words& words, ReplayCommand& command, std::string* error) {
  if (!words.every.empty()) {
    if (command.outputs.pngFolder.empty()) {
      *error = "--every needs --png";
      return false;
    }
    if (!ParseEvery(words.every, &command.outputs.pngEvery)) {
      *error = "--every takes a whole number of flips, 1 or more, not " + QuotedText(words.every);
      return false;
    }
  }
  if (!words.untilStage.empty() &&
      !(ParseNumber(words.untilStage, &command.untilStage) && command.untilStage >= 1 &&
        command.untilStage <= 10)) {
    *error = "--until-stage takes a stage from 1 to 10, not " + QuotedText(words.untilStage);
    return false;
  }
  if (!words.name.empty()) {
    if (!NameTypable(words.name)) {
      *error = "--name takes one to three capital letters or digits, not " + QuotedText(words.name);
      return false;
    }
    command.name = words.name;
  }
  // A day of game time at most (the virtual clock counts milliseconds in 32 bits); a fraction
  // of a minute for a quick check.
  if (!words.minutes.empty() && !(ParseNumber(words.minutes, &command.minutes) &&
                                  command.minutes >= 0 && command.minutes <= 24 * 60)) {
    *error = "--minutes takes a number of minutes from 0 to 1440, not " + QuotedText(words.minutes);
    return false;
  }
  command.minutesGiven = !words.minutes.empty();
  if (!words.cpuLimit.empty() && !(ParseNumber(words.cpuLimit, &command.cpuLimit) &&
                                   command.cpuLimit > 0 && command.cpuLimit <= 3600)) {
    *error = "--cpu-limit takes a number of seconds above 0 and at most 3600, not " +
             QuotedText(words.cpuLimit);
    return false;
  }
  if (command.rulesOnly &&
      !(command.outputs.pngFolder.empty() && command.outputs.audioPath.empty())) {
    *error = "--rules-only draws and sounds nothing: it takes no --png nor --audio";
    return false;
  }
  return true;
}

// The options each verb takes with a value, and where each one's value goes.
std::map<std::string, std::string*> OptionsOf(ReplayCommand& command, Words* words) {
  switch (command.verb) {
    case ReplayVerb::Soak:
      return {{"--minutes", &words->minutes}};
    case ReplayVerb::Verify:
    case ReplayVerb::Analyze:
      return {{"--cpu-limit", &words->cpuLimit}};
    default:
      break;
  }
  std::map<std::string, std::string*> options = {
      {"--lines", &command.outputs.linesPath},
      {"--highscores", &command.highscoresPath},
  };
  if (command.verb != ReplayVerb::Record) {
    options["--png"] = &command.outputs.pngFolder;
    options["--every"] = &words->every;
    options["--audio"] = &command.outputs.audioPath;
  }
  if (command.verb == ReplayVerb::Autoplay) {
    options["--until-stage"] = &words->untilStage;
    options["--name"] = &words->name;
    options["--minutes"] = &words->minutes;
  }
  return options;
}

// The options without a value: whether this one is one of the verb's.
bool TakeFlag(const std::string& option, ReplayCommand& command) {
  if (option == "--lazy-boss" && command.verb == ReplayVerb::Autoplay) {
    command.lazyBoss = true;
  } else if (option == "--rules-only" && command.verb == ReplayVerb::Play) {
    command.rulesOnly = true;
  } else {
    return false;
  }
  return true;
}

std::optional<ReplayVerb> VerbNamed(const std::string& word) {
  static const std::map<std::string, ReplayVerb> kVerbs = {
      {"play", ReplayVerb::Play},         {"record", ReplayVerb::Record},
      {"autoplay", ReplayVerb::Autoplay}, {"verify", ReplayVerb::Verify},
      {"analyze", ReplayVerb::Analyze},
      {"watch", ReplayVerb::Watch},       {"soak", ReplayVerb::Soak},
      {"-h", ReplayVerb::Help},           {"--help", ReplayVerb::Help},
      {"--version", ReplayVerb::Version}};
  const auto found = kVerbs.find(word);
  if (found == kVerbs.end()) return std::nullopt;
  return found->second;
}

// watch: its own --flip, and the game's own window options, read as the game reads them.
bool ParseWatch(int argc, char** argv, ReplayCommand& command, std::string* error) {
  std::vector<std::string> options(argv + 3, argv + argc);
  const auto flip = std::find(options.begin(), options.end(), "--flip");
  if (flip != options.end()) {
    const std::string value = flip + 1 != options.end() ? *(flip + 1) : "";
    if (!ParseNumber(value, &command.startFlip) || command.startFlip == 0) {
      *error = "--flip takes a flip, 1 or more, not " + QuotedText(value);
      return false;
    }
    options.erase(flip, flip + 2);
  }
  const CommandLine line = ParseCommandLine(options);
  if (line.action == CommandLine::Action::Refuse) {
    *error = "watch: " + line.fault;
    return false;
  }
  if (line.action != CommandLine::Action::Play) {
    *error = "watch takes no -h, --help nor --version; " + std::string(kReplayUsage);
    return false;
  }
  command.window = line.options;
  return true;
}

}  // namespace

std::optional<ReplayCommand> ParseReplayCommand(int argc, char** argv, std::string* error) {
  ReplayCommand command;
  if (argc < 2) {
    *error = std::string("no command; ") + kReplayUsage;
    return std::nullopt;
  }
  const std::string verb = argv[1];
  const std::optional<ReplayVerb> named = VerbNamed(verb);
  if (!named) {
    *error = "unknown command " + QuotedText(verb) + "; " + kReplayUsage;
    return std::nullopt;
  }
  command.verb = *named;
  if (command.verb == ReplayVerb::Help || command.verb == ReplayVerb::Version) {
    if (argc == 2) return command;
    *error = verb + " takes nothing after it";
    return std::nullopt;
  }
  const bool needsFile = command.verb != ReplayVerb::Soak;
  if (needsFile && (argc < 3 || std::string(argv[2]).starts_with("--"))) {
    *error = verb + " needs a replay FILE; " + kReplayUsage;
    return std::nullopt;
  }
  if (needsFile) command.file = argv[2];
  if (command.verb == ReplayVerb::Watch) {
    if (!ParseWatch(argc, argv, command, error)) return std::nullopt;
    return command;
  }
  Words words;
  std::map<std::string, std::string*> options = OptionsOf(command, &words);
  int next = needsFile ? 3 : 2;
  if (command.verb == ReplayVerb::Verify || command.verb == ReplayVerb::Analyze) {
    command.files.push_back(command.file);
    for (; next < argc && !std::string(argv[next]).starts_with("--"); ++next) {
      command.files.push_back(argv[next]);
    }
  }
  for (int i = next; i < argc; ++i) {
    const std::string option = argv[i];
    if (TakeFlag(option, command)) continue;
    const auto found = options.find(option);
    if (found == options.end()) {
      *error = verb + " takes no option " + QuotedText(option) + "; " + kReplayUsage;
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
    *found->second = argv[++i];
  }
  if (!ApplyWords(words, command, error)) return std::nullopt;
  return command;
}

namespace {

// Where a path leads, for telling whether two name one file.
fs::path Resolved(const std::string& path) {
  std::error_code fault;
  return fs::weakly_canonical(fs::absolute(path), fault);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code fault;
  return fs::equivalent(a, b, fault) || Resolved(a) == Resolved(b);
}

}  // namespace

bool FilesApart(ReplayCommand& command, std::string* error) {
  // The replay, read or written, first: an output that is it is named as the fault.
  const std::vector<std::pair<std::string, std::string*>> files = {
      {"the replay FILE", &command.file},
      {"--lines", &command.outputs.linesPath},
      {"--audio", &command.outputs.audioPath},
      {"--highscores", &command.highscoresPath}};
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].second->empty()) continue;
    for (size_t j = 0; j < i; ++j) {
      if (files[j].second->empty() || !SameFile(*files[i].second, *files[j].second)) continue;
      const bool overTheReplay = j == 0 && command.verb == ReplayVerb::Play;
      *error = files[i].first + " and " + files[j].first + " name one file, " +
               Resolved(*files[i].second).string() + "; " +
               (overTheReplay ? "an output would be written over the replay it reads"
                              : "two outputs would be written over each other");
      return false;
    }
  }
  // Paths given on the command line are the caller's, whatever folder the game then runs in;
  // a replay that is read is named as it was given.
  const bool fileWritten =
      command.verb == ReplayVerb::Record || command.verb == ReplayVerb::Autoplay;
  for (size_t i = fileWritten ? 0 : 1; i < files.size(); ++i) {
    if (!files[i].second->empty()) *files[i].second = fs::absolute(*files[i].second).string();
  }
  if (!command.outputs.pngFolder.empty()) {
    command.outputs.pngFolder = fs::absolute(command.outputs.pngFolder).string();
  }
  return true;
}
