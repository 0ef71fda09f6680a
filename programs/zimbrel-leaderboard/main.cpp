// zimbrel-leaderboard: the server that ranks proven games ("The leaderboard" in
// docs/architecture.md; `zimbrel-leaderboard --help`). The same program, started with
// --verifier-worker, is one of its verifiers.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "leaderboard/admin_command.h"
#include "leaderboard/game_store.h"
#include "leaderboard/leaderboard_server.h"
#include "leaderboard/server_options.h"
#include "leaderboard/verifier_pool.h"
#include "leaderboard/verifier_worker.h"
#include "platform/files/temporary_folder.h"

namespace fs = std::filesystem;

namespace {

// How long SIGTERM leaves the queue to be verified before what still waits is refused.
constexpr auto kDrainTime = std::chrono::seconds(5);

int Fail(const std::string& message) {
  std::fprintf(stderr, "zimbrel-leaderboard: %s\n", message.c_str());
  return 1;
}

// The game's gfx/ and snd/: beside the server in a runnable folder, else where the package
// puts them.
fs::path DataFolder(const fs::path& self, const std::string& given) {
  if (!given.empty()) return fs::absolute(given);
  const fs::path beside = self.parent_path();
  if (fs::is_directory(beside / "gfx")) return beside;
  return (beside / ZIMBREL_DATA_FROM_SERVER).lexically_normal();
}

// A folder removed with everything in it when the server ends, its verifiers ended before.
struct ScratchOfTheServer {
  fs::path folder;
  ~ScratchOfTheServer() {
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : argc), argv + argc);
  if (!arguments.empty() && arguments[0] == kVerifierWorkerOption) {
    return RunVerifierWorker(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  if (!arguments.empty() && arguments[0] == "admin") {
    return RunAdmin(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  const ServerCommandLine line = ParseServerCommandLine(arguments);
  switch (line.action) {
    case ServerCommandLine::Action::Refuse:
      std::fprintf(stderr, "zimbrel-leaderboard: %s\n%s", line.fault.c_str(), ServerUsageText().c_str());
      return 2;
    case ServerCommandLine::Action::ShowHelp:
      return std::fputs(ServerUsageText().c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    case ServerCommandLine::Action::ShowVersion:
      return std::fputs(ServerVersionText().c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
    case ServerCommandLine::Action::Serve: break;
  }
  ServerOptions options = line.options;
  std::error_code ignored;
  const fs::path self = fs::read_symlink("/proc/self/exe", ignored);
  const fs::path data = DataFolder(self, options.data);
  if (!fs::is_directory(data / "gfx") || !fs::is_directory(data / "snd")) {
    return Fail(data.string() + " holds no gfx/ and snd/ to verify games with (--data DIR)");
  }
  if (const std::string fault = CheckingFault(data); !fault.empty()) {
    return Fail(fault + " (--data DIR names the folder with the game's gfx/ and snd/)");
  }
  if (!options.site.empty() && !fs::is_regular_file(fs::path(options.site) / "index.html")) {
    return Fail(options.site + " holds no index.html (--site takes the browser build's folder)");
  }
  options.data = data.string();  // what /healthz looks at, found or given
  if (options.verifiers == 0) options.verifiers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

  // The verifiers make their scratch folders in the server's own: one killed (replaced, or gone
  // with the server) cannot remove its own, and the server removes them all when it stops.
  ScratchOfTheServer scratch;
  std::string scratchError;
  const std::optional<fs::path> scratchFolder = MakeTemporaryFolder("zimbrel-leaderboard", &scratchError);
  if (!scratchFolder) return Fail(scratchError);
  scratch.folder = *scratchFolder;
  setenv("TMPDIR", scratch.folder.c_str(), 1);

  // The ending signals wait for the thread that drains; every thread started from here on
  // keeps them blocked.
  signal(SIGPIPE, SIG_IGN);
  sigset_t ending;
  sigemptyset(&ending);
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&ending, number);
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);

  std::unique_ptr<GameStore> store;
  try {
    store = OpenGameStore(options.database);
  } catch (const StoreError& fault) {
    return Fail(std::string("the database cannot be opened: ") + fault.what());
  }
  VerifierPoolOptions poolOptions;
  poolOptions.workerCommand = VerifierWorkerCommand(self, data, options.cpuCap);
  poolOptions.verifiers = options.verifiers;
  poolOptions.queueLength = static_cast<size_t>(options.queue);
  poolOptions.patience = std::chrono::milliseconds(static_cast<int64_t>(options.cpuCap * 2000) + 10000);
  VerifierPool pool(poolOptions);
  LeaderboardServer server(*store, pool, options);
  std::string error;
  if (!server.Bind(&error)) return Fail(error);
  const std::string origin = "http://" + (options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host) +
                             ":" + std::to_string(server.Port()) + "/";
  const std::string metrics =
      options.metricsHost.empty()
          ? ""
          : "; /metrics at http://" +
                (options.metricsHost.find(':') != std::string::npos ? "[" + options.metricsHost + "]" : options.metricsHost) +
                ":" + std::to_string(server.MetricsPort()) + "/metrics";
  std::fprintf(stderr, "zimbrel-leaderboard: listening on %s with %d verifiers, %s%s%s\n", origin.c_str(),
               options.verifiers, options.database.rfind("postgres", 0) == 0 ? "on PostgreSQL" : "on SQLite",
               options.site.empty() ? "" : ("; the game at " + origin + "play/").c_str(), metrics.c_str());

  std::thread stopper([&] {
    int number = 0;
    sigwait(&ending, &number);
    std::fprintf(stderr, "zimbrel-leaderboard: %s: verifying the %zu waiting proofs, then stopping\n",
                 strsignal(number), pool.Waiting());
    pool.Drain(std::chrono::steady_clock::now() + kDrainTime);
    server.Stop();
  });
  server.Serve();
  // Served no more on its own (the socket failed): the stopper is woken as by a signal.
  kill(getpid(), SIGTERM);
  stopper.join();
  std::fprintf(stderr, "zimbrel-leaderboard: stopped\n");
  return 0;
}
