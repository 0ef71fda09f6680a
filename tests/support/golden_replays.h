// The golden replays in tests/replays/: their folder, and their names (the stems of the .replay
// files, sorted), for tests that take each in turn.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

std::filesystem::path GoldenReplaysFolder();
std::vector<std::string> GoldenReplayNames();
