#include "tests/support/replay_tool_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tests/support/child_process.h"

ReplayToolRun RunReplayTool(const std::vector<std::string>& arguments) {
  ChildProcess tool;
  ChildProcess::Options options;
  options.command = {ZIMBREL_REPLAY_TOOL};
  options.command.insert(options.command.end(), arguments.begin(), arguments.end());
  options.environment = EnvironmentWith({});
  options.outputFile = std::filesystem::absolute("replay-tool.out");
  options.errorFile = std::filesystem::absolute("replay-tool.err");
  std::string error;
  ReplayToolRun run;
  if (!tool.Start(options, &error)) {
    ADD_FAILURE() << error;
    return run;
  }
  run.exitCode = tool.WaitForExit(std::chrono::seconds(90));
  run.output = FileText(options.outputFile);
  run.errors = FileText(options.errorFile);
  return run;
}
