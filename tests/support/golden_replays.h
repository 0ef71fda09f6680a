// The golden replays in tests/replays/: their folder, and their names (the stems of the .replay
// files, sorted), for tests that take each in turn; and a long replay written on the spot.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

std::filesystem::path GoldenReplaysFolder();
std::vector<std::string> GoldenReplayNames();

// The title left alone for `stretches` of ten minutes, a line each: up to two hours, the most
// a proof may ask for, and a tenth to a half of a second of CPU to check.
std::string IdleTitle(int stretches, const std::string& comment = "");
