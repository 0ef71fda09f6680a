#include "programs/zimbrel/proof_sending.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/options/quoted_text.h"
#include "programs/zimbrel-send/unsent_folder.h"

namespace fs = std::filesystem;

namespace {

int wakeSender = -1;  // the game's end of the socket that is the sender's standard input

void CannotSend(const std::string& why) {
  std::fprintf(stderr, "Zimbrel: games cannot be sent to the leaderboard (%s)\n", why.c_str());
}

}  // namespace

std::string ConfiguredLeaderboard(const std::string& fromCommandLine) {
  if (!fromCommandLine.empty()) return fromCommandLine;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  fs::path file;
  if (config && config[0] == '/') {
    file = fs::path(config) / "zimbrel/leaderboard";
  } else if (home) {
    file = fs::path(home) / ".config/zimbrel/leaderboard";
  } else {
    return "";
  }
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  line.erase(0, line.find_first_not_of(" \t\r"));
  line.erase(line.find_last_not_of(" \t\r") + 1);
  if (line.empty()) return "";
  if (line.rfind("http://", 0) != 0 && line.rfind("https://", 0) != 0) {
    std::fprintf(stderr, "Zimbrel: %s names no leaderboard (an address starting http:// or https://): %s\n",
                 file.c_str(), QuotedText(line).c_str());
    return "";
  }
  return line;
}

void StartSendingProofs(const std::string& url) {
  std::error_code fault;
  const std::string sender = (fs::read_symlink("/proc/self/exe", fault).parent_path() / "zimbrel-send").string();
  // A socket rather than a pipe: a write to a sender that is gone fails (MSG_NOSIGNAL) instead
  // of ending the game with SIGPIPE.
  int ends[2];
  if (fault || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    CannotSend(fault ? fault.message() : std::strerror(errno));
    return;
  }
  std::fflush(nullptr);
  // Forked twice: the sender is no child of the game's, which never waits for it and ends as
  // it always has (its end of the socket closing tells the sender).
  const pid_t between = fork();
  if (between == 0) {
    if (fork() == 0) {
      // dup2 onto itself would keep close-on-exec.
      if (ends[0] == STDIN_FILENO ? fcntl(ends[0], F_SETFD, 0) == 0 : dup2(ends[0], STDIN_FILENO) == 0) {
        execl(sender.c_str(), "zimbrel-send", url.c_str(), static_cast<char*>(nullptr));
      }
      dprintf(STDERR_FILENO, "Zimbrel: games cannot be sent to the leaderboard (%s: %s)\n", sender.c_str(),
              std::strerror(errno));
      _exit(127);
    }
    _exit(0);
  }
  close(ends[0]);
  if (between < 0) {
    CannotSend(std::strerror(errno));
    close(ends[1]);
    return;
  }
  while (waitpid(between, nullptr, 0) < 0 && errno == EINTR) {
  }
  fcntl(ends[1], F_SETFL, O_NONBLOCK);
  wakeSender = ends[1];
}

void NoteProofKept(const std::string& path) {
  if (wakeSender < 0) return;
  mkdir("replays", 0777);
  mkdir(kUnsentFolder, 0777);
  const fs::path waiting = fs::path(kUnsentFolder) / fs::path(path).filename();
  if (link(path.c_str(), waiting.c_str()) != 0 && errno != EEXIST) {
    std::error_code fault;
    if (!fs::copy_file(path, waiting, fault)) {
      std::fprintf(stderr, "Zimbrel: %s cannot wait to be sent to the leaderboard: %s\n",
                   fs::absolute(waiting).c_str(), fault.message().c_str());
      return;
    }
  }
  const char wake = '\n';
  if (send(wakeSender, &wake, 1, MSG_NOSIGNAL) < 0) {
    // A full socket has woken it already; a sender gone leaves the proof for the next start.
  }
}
