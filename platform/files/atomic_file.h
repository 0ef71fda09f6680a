// Replacing a file so that it is never seen half-written: the bytes go to a temporary file in
// the same folder, are flushed to the disk, and the temporary file is renamed over the old one.
// Two cases are written over the old file's own bytes instead (then flushed): a file with other
// names (hard links), which must all see the new bytes, and a file whose folder refuses new
// files (one the user may not write, or one marked immutable) while the file itself may be
// written.
#pragma once

#include <cstddef>

// True when the file now holds exactly these bytes. A symbolic link is followed: its target is
// replaced and the link stays. A file the user may not write (frozen with chmod) is not
// replaced. On any failure errno holds the reason and no temporary file stays behind; the old
// file (if any) is left exactly as it was, but where it was being written over in place.
bool WriteFileAtomically(const char* path, const void* bytes, size_t size);

// From now on this process's files are not flushed to the disk: for a process whose every file
// lies in a folder thrown away after it (a replay's check), where a flush buys nothing.
void WriteWithoutFlushing();

// Removes the temporary files of saves of `path` that a kill cut short (".NAME.XXXXXX" beside
// the file, or beside the file a link points to), once they are older than `ageSeconds`: a
// younger one may be another game's save under way.
void RemoveLeftoverTemporaries(const char* path, int ageSeconds);
