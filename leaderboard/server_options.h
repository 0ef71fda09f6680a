// The server's command line:
//   zimbrel-leaderboard [--listen ADDRESS:PORT] [--database sqlite:PATH | postgresql://...]
//     [--site DIR] [--data DIR] [--verifiers N] [--queue N] [--cpu-cap SECONDS] [--rate N]
//     [--cpu-budget SECONDS] [--trusted-proxy ADDRESS]... [--metrics-listen ADDRESS:PORT]
//     [--review on|off] [-h | --help] [--version]
#pragma once

#include <string>
#include <vector>

struct ServerOptions {
  std::string host = "127.0.0.1";
  int port = 8080;  // 0: any free port (the server says which)
  std::string database = "sqlite:zimbrel-leaderboard.sqlite";
  std::string site;  // the browser build's folder, served under /play/; none by default
  std::string data;  // the game's gfx/ and snd/ for the verifiers; found beside the server
  int verifiers = 0;  // 0: one per core
  int queue = 64;
  double cpuCap = 30;  // seconds of CPU a proof's check may take
  double rate = 30;    // submissions a minute from one address
  std::vector<std::string> trustedProxies;  // canonical addresses of the proxies in front
  double cpuBudget = 20;  // seconds of CPU a minute the checks of one address's proofs may take
  // Where /metrics is answered apart from the public address; none: on the public address.
  std::string metricsHost;
  int metricsPort = -1;
  // Games whose play no hand gives are held for an operator (replay/play_figures.h); off for a
  // server fed the scripted player's games on purpose (tests, load measurements).
  bool review = true;
};

struct ServerCommandLine {
  enum class Action { Serve, ShowHelp, ShowVersion, Refuse };
  Action action = Action::Serve;
  ServerOptions options;
  std::string fault;  // for Refuse: which argument, and what is wrong with it
};

ServerCommandLine ParseServerCommandLine(const std::vector<std::string>& arguments);
std::string ServerUsageText();
std::string ServerVersionText();
