// A fresh, empty folder of its own in TMPDIR, or else in memory (/dev/shm) where the system has
// it, or else in the system's temporary folder: where a run that must not touch the player's
// files, or another run's, takes place (the replay tool's runs, the tests, the benchmarks, the
// fuzz targets). Whoever makes one removes it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Makes the folder, <that folder>/<stem>-XXXXXX with the Xs replaced.
// Nothing when it cannot; `error` (if given) then names the folder and gives the system's
// reason.
std::optional<std::filesystem::path> MakeTemporaryFolder(const std::string& stem,
                                                         std::string* error = nullptr);
