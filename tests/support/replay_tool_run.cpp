#include "tests/support/replay_tool_run.h"

#include <chrono>
#include <filesystem>

namespace {

ReplayToolRun RunTool(const char* program, const std::vector<std::string>& arguments) {
  ChildProcess::Options options;
  options.command = {program};
  options.command.insert(options.command.end(), arguments.begin(), arguments.end());
  options.environment = EnvironmentWith({});
  options.outputFile = std::filesystem::absolute("replay-tool.out");
  options.errorFile = std::filesystem::absolute("replay-tool.err");
  return RunToItsEnd(options, std::chrono::seconds(90));
}

}  // namespace

ReplayToolRun RunReplayTool(const std::vector<std::string>& arguments) {
  return RunTool(ZIMBREL_REPLAY_TOOL, arguments);
}

ReplayToolRun RunRulesOnlyVerifier(const std::vector<std::string>& arguments) {
  return RunTool(ZIMBREL_VERIFIER, arguments);
}

std::string ShownScore(long long score) {
  const std::string digits = std::to_string(score < 0 ? -score : score);
  std::string shown = score < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) shown += ',';
    shown += digits[i];
  }
  return shown;
}
