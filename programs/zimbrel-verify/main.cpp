// zimbrel-verify: zimbrel-replay verify alone, over the null platform. It takes verify's
// arguments (FILE... [--cpu-limit SECONDS]) and says and exits as verify does, at the cost of
// the rules: it loads no SDL, font, sound or window library. Run in the runnable folder.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/options/quoted_text.h"
#include "replay/verify_files.h"
#include "tools/replay/replay_command.h"

namespace {

int Refuse(const std::string& message) {
  std::fprintf(stderr, "zimbrel-verify: %s\n", ShownText(message).c_str());
  return 1;
}

int Run(int argc, char** argv) {
  std::vector<char*> words = {argv[0], const_cast<char*>("verify")};
  words.insert(words.end(), argv + 1, argv + argc);
  std::string error;
  const std::optional<ReplayCommand> command =
      ParseReplayCommand(static_cast<int>(words.size()), words.data(), &error);
  if (!command) return Refuse(error);
  return VerifyReplayFiles(command->files, command->cpuLimit, "zimbrel-verify");
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Run(argc, argv);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    const int reason = errno;
    Refuse(std::string("standard output: cannot be written (") + std::strerror(reason) + ")");
    return status == 0 ? 1 : status;
  }
  return status;
}
