#include "platform/options/command_line.h"

#include <charconv>
#include <optional>

#include "platform/options/quoted_text.h"

namespace {

constexpr int kLargestScale = 4;

CommandLine Refused(std::string fault) {
  CommandLine refused;
  refused.action = CommandLine::Action::Refuse;
  refused.fault = std::move(fault);
  return refused;
}

// A whole number from 1 to kLargestScale, nothing before or after it.
bool ReadScale(const std::string& text, int* scale) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, *scale);
  return error == std::errc() && stop == end && *scale >= 1 && *scale <= kLargestScale;
}

// True when arguments[*i] is the option `name`, given as "NAME VALUE" (the value then taken,
// and *i moved past it) or "NAME=VALUE"; `value` is left empty where none follows.
bool OptionValue(const std::vector<std::string>& arguments, size_t* i, const std::string& name,
                 std::optional<std::string>* value) {
  const std::string& argument = arguments[*i];
  if (argument.rfind(name + "=", 0) == 0) {
    *value = argument.substr(name.size() + 1);
    return true;
  }
  if (argument != name) return false;
  if (*i + 1 < arguments.size()) *value = arguments[++*i];
  return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool help = false;
  bool version = false;
  bool fullscreen = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::optional<std::string> value;
    if (argument == "-h" || argument == "--help") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else if (argument == "--fullscreen") {
      fullscreen = true;
    } else if (argument == "--window") {
      line.options.window = true;
    } else if (argument == "--mute") {
      line.options.mute = true;
    } else if (OptionValue(arguments, &i, "--leaderboard", &value)) {
      if (!value) return Refused("option '--leaderboard' needs a value");
      if (value->rfind("http://", 0) != 0 && value->rfind("https://", 0) != 0) {
        return Refused("option '--leaderboard' takes an address starting http:// or https://, not " +
                       QuotedText(*value));
      }
      line.options.leaderboard = *value;
    } else if (OptionValue(arguments, &i, "--scale", &value)) {
      if (!value) return Refused("option '--scale' needs a value");
      if (!ReadScale(*value, &line.options.scale)) {
        return Refused("option '--scale' takes a whole number from 1 to " +
                       std::to_string(kLargestScale) + ", not " + QuotedText(*value));
      }
    } else {
      return Refused("unknown option " + QuotedText(argument));
    }
  }
  if (fullscreen && line.options.window) {
    return Refused("options '--fullscreen' and '--window' exclude each other");
  }
  if (help) line.action = CommandLine::Action::ShowHelp;
  else if (version) line.action = CommandLine::Action::ShowVersion;
  return line;
}

std::string UsageText() {
  return "Usage: zimbrel [--fullscreen | --window] [--scale N] [--mute] [--leaderboard URL]\n"
         "               [-h | --help] [--version]\n"
         "\n"
         "Zimbrel, a full-screen fly-swatting arcade game. The mouse moves the swatter, the left\n"
         "button swats, the right button drops a blob of cream that lures the flies; Alt+Enter\n"
         "switches between full screen and a window.\n"
         "\n"
         "  --fullscreen  play on the whole screen (the default)\n"
         "  --window      play in a window of 640 x 480 times the scale\n"
         "  --scale N     the window's scale, 1 to 4 (by default 2 where the screen has room)\n"
         "  --mute        play without opening a sound device\n"
         "  --leaderboard URL\n"
         "                send every game that enters the table to the leaderboard at URL (also\n"
         "                read from $XDG_CONFIG_HOME/zimbrel/leaderboard, one line)\n"
         "  -h, --help    show this text and exit\n"
         "  --version     show the version and exit\n"
         "\n"
         "The game reads gfx/ and snd/ and keeps its highscore table, Highscore.dat, in the\n"
         "folder it plays in: for the installed command $XDG_DATA_HOME/zimbrel (by default\n"
         "~/.local/share/zimbrel).\n"
         "\n"
         "Exit status: 2 for a bad command line; 1 when the highscore table could not be saved\n"
         "or the installed command cannot make the folder to play in (standard error says why);\n"
         "else 0 (also when the game could not start; it says why).\n";
}

std::string VersionText() { return "zimbrel " ZIMBREL_VERSION "\n"; }

std::string ProgramVersion() { return ZIMBREL_VERSION; }
