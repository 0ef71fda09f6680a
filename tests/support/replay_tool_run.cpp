#include "tests/support/replay_tool_run.h"

#include <chrono>
#include <filesystem>

ReplayToolRun RunReplayTool(const std::vector<std::string>& arguments) {
  ChildProcess::Options options;
  options.command = {ZIMBREL_REPLAY_TOOL};
  options.command.insert(options.command.end(), arguments.begin(), arguments.end());
  options.environment = EnvironmentWith({});
  options.outputFile = std::filesystem::absolute("replay-tool.out");
  options.errorFile = std::filesystem::absolute("replay-tool.err");
  return RunToItsEnd(options, std::chrono::seconds(90));
}
