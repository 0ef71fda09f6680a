#include "leaderboard/server_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "leaderboard/client_address.h"
#include "platform/options/quoted_text.h"

namespace {

template <typename Number>
bool ReadNumber(const std::string& text, Number low, Number high, Number* number) {
  Number value{};
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (fault != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high)) return false;
  *number = value;
  return true;
}

// "127.0.0.1:8080", "[::1]:8080", "localhost:0".
bool ReadListen(const std::string& text, std::string* host, int* port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  std::string name = text.substr(0, colon);
  if (name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  if (name.empty() || !ReadNumber(text.substr(colon + 1), 0, 65535, port)) return false;
  *host = name;
  return true;
}

}  // namespace

ServerCommandLine ParseServerCommandLine(const std::vector<std::string>& arguments) {
  ServerCommandLine line;
  ServerOptions& options = line.options;
  bool help = false;
  bool version = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto refuse = [&](const std::string& why) {
      line.action = ServerCommandLine::Action::Refuse;
      line.fault = why;
      return line;
    };
    if (argument == "-h" || argument == "--help") {
      help = true;
      continue;
    }
    if (argument == "--version") {
      version = true;
      continue;
    }
    static const std::vector<std::string> kWithValue = {"--listen", "--database", "--site", "--data",
                                                        "--verifiers", "--queue", "--cpu-cap", "--rate",
                                                        "--trusted-proxy", "--cpu-budget", "--metrics-listen",
                                                        "--review"};
    if (std::find(kWithValue.begin(), kWithValue.end(), argument) == kWithValue.end()) {
      return refuse("unknown option " + QuotedText(argument));
    }
    if (i + 1 >= arguments.size()) return refuse(argument + " needs a value");
    const std::string& value = arguments[++i];
    bool good = true;
    if (argument == "--listen") {
      good = ReadListen(value, &options.host, &options.port);
    } else if (argument == "--database") {
      good = !value.empty();
      options.database = value;
    } else if (argument == "--site") {
      good = !value.empty();
      options.site = value;
    } else if (argument == "--data") {
      good = !value.empty();
      options.data = value;
    } else if (argument == "--verifiers") {
      good = ReadNumber(value, 1, 256, &options.verifiers);
    } else if (argument == "--queue") {
      good = ReadNumber(value, 1, 100000, &options.queue);
    } else if (argument == "--trusted-proxy") {
      const std::optional<std::string> address = CanonicalAddress(value);
      good = address.has_value();
      if (good) options.trustedProxies.push_back(*address);
    } else if (argument == "--cpu-cap") {
      good = ReadNumber(value, 0.1, 3600.0, &options.cpuCap);
    } else if (argument == "--metrics-listen") {
      good = ReadListen(value, &options.metricsHost, &options.metricsPort);
    } else if (argument == "--review") {
      good = value == "on" || value == "off";
      options.review = value == "on";
    } else if (argument == "--cpu-budget") {
      good = ReadNumber(value, 0.1, 1e6, &options.cpuBudget);
    } else {
      good = ReadNumber(value, 1.0, 1e6, &options.rate);
    }
    if (!good) return refuse(argument + " does not take " + QuotedText(value));
  }
  line.action = help      ? ServerCommandLine::Action::ShowHelp
                : version ? ServerCommandLine::Action::ShowVersion
                          : ServerCommandLine::Action::Serve;
  return line;
}

std::string ServerUsageText() {
  return "Usage: zimbrel-leaderboard [--listen ADDRESS:PORT] [--database sqlite:PATH | postgresql://...]\n"
         "         [--site DIR] [--data DIR] [--verifiers N] [--queue N] [--cpu-cap SECONDS] [--rate N]\n"
         "         [--cpu-budget SECONDS] [--trusted-proxy ADDRESS]... [--metrics-listen ADDRESS:PORT]\n"
         "         [--review on|off]\n"
         "Ranks Zimbrel games by their proofs: every submitted replay is played again before its\n"
         "games enter the world's table.\n"
         "  --listen ADDRESS:PORT  where to answer (default 127.0.0.1:8080; port 0 takes a free one)\n"
         "  --database ADDRESS     sqlite:PATH (default sqlite:zimbrel-leaderboard.sqlite) or a\n"
         "                         postgresql:// address as libpq takes it\n"
         "  --site DIR             also serve the browser's game from DIR, under /play/\n"
         "  --data DIR             the game's gfx/ and snd/ (default: found beside the server)\n"
         "  --verifiers N          proofs checked at once (default: one per core)\n"
         "  --queue N              proofs that may wait for a verifier (default 64)\n"
         "  --cpu-cap SECONDS      CPU time one proof's check may take (default 30)\n"
         "  --rate N               submissions a minute from one address (default 30)\n"
         "  --trusted-proxy ADDRESS\n"
         "                         a reverse proxy in front (repeatable): from it, the client is the\n"
         "                         address X-Forwarded-For gives (the right-most not itself trusted)\n"
         "  --cpu-budget SECONDS   CPU time a minute the checks of one address's proofs may take\n"
         "                         (default 20)\n"
         "  --metrics-listen ADDRESS:PORT\n"
         "                         answer /metrics (Prometheus' text) there alone, not on --listen\n"
         "  --review on|off        hold games whose play no hand gives for an operator to restore\n"
         "                         (default on; off only for a server fed scripted games on purpose)\n"
         "  -h, --help             show this and exit\n"
         "  --version              show the version and exit\n"
         "The operator's commands (hide, restore, bans, the log, backup) beside a running server:\n"
         "  zimbrel-leaderboard admin --database DATABASE COMMAND   (admin alone lists them)\n";
}

std::string ServerVersionText() { return std::string("zimbrel-leaderboard ") + ZIMBREL_VERSION + "\n"; }
