// Replacing a file so that it is never seen half-written: the bytes go to a temporary file in
// the same folder, are flushed to the disk, and the temporary file is renamed over the old one.
#pragma once

#include <cstddef>

// True when the file now holds exactly these bytes. On any failure the old file (if any) is
// left exactly as it was and no temporary file stays behind.
bool WriteFileAtomically(const char* path, const void* bytes, size_t size);
