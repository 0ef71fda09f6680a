// Writing one of the tool's outputs whole, with the system's own reason when it cannot be.
#pragma once

#include <cstddef>
#include <string>

// Creates or empties `path` and writes the bytes; on failure `error` names the path and the
// reason as the system gave it at the step that failed (a full disk, a missing folder).
bool WriteOutputFile(const std::string& path, const void* bytes, size_t size, std::string* error);

// Writes the table the run ended with to `path`, as Highscore.dat holds it; false when it
// cannot be.
bool KeepHighscores(const std::string& path, std::string* error);
