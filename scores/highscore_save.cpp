#include "scores/highscore_save.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files/atomic_file.h"
#include "platform/files/folder_lock.h"
#include "platform/files/link_target.h"
#include "scores/highscore_file.h"
#include "scores/highscore_table.h"

bool HighscoreSaveFailed = false;

namespace {

// The new rows, best first, as they stand in the table.
int TakeNewRows(HighscoreEntry rows[kHighscoreRows]) {
  int count = 0;
  for (int row = 0; row < kHighscoreRows; ++row) {
    if (NewHighscoreRows[row]) rows[count++] = HighscoreTable[row];
  }
  return count;
}

// The table on the disk, read as start-up reads it, in place of the one in memory; `whole`
// tells whether the file holds exactly its 400 bytes. False when a file is there that cannot
// be read: it would be lost if it were replaced.
bool ReadTableOnDisk(const std::string& path, bool* whole) {
  uint8_t bytes[kHighscoreFileBytes] = {};
  const int read = ReadHighscoreFile(path.c_str(), bytes);
  if (read < 0) return false;
  *whole = read == kHighscoreFileBytes;
  if (read == 0) {
    FillDefaultHighscores();
  } else {
    DecodeHighscores(bytes);
    for (bool& fresh : NewHighscoreRows) fresh = false;
  }
  return true;
}

// A path as the player can find it: from the root.
std::string Shown(const std::string& path) {
  if (path.front() == '/') return path;
  char folder[4096];
  if (getcwd(folder, sizeof folder) == nullptr) return path;
  return path == "." ? std::string(folder) : std::string(folder) + "/" + path;
}

void ReportFailure(const std::string& path, int reason) {
  std::fprintf(stderr, "Zimbrel: the highscores could not be saved to %s: %s\n",
               Shown(path).c_str(), std::strerror(reason));
}

bool Merged(const std::string& path) {
  HighscoreEntry rows[kHighscoreRows];
  const int count = TakeNewRows(rows);
  bool whole = false;
  if (!ReadTableOnDisk(path, &whole)) return false;
  uint8_t onDisk[kHighscoreFileBytes];
  EncodeHighscores(onDisk);
  MergeHighscoreEntries(rows, count);
  uint8_t bytes[kHighscoreFileBytes];
  EncodeHighscores(bytes);
  // A file that already holds these very bytes is left as it is: a table frozen read-only
  // then ends a run that entered nothing without a failure.
  if (whole && std::memcmp(onDisk, bytes, sizeof bytes) == 0) return true;
  return WriteFileAtomically(path.c_str(), bytes, sizeof bytes);
}

// Said once a save goes ahead without the lock that another program has held all the while.
void ReportLockHeld(const std::string& folder) {
  std::fprintf(stderr, "Zimbrel: another program holds the lock on %s; saving without it\n",
               Shown(folder).c_str());
}

bool AnyNewRows() {
  for (bool fresh : NewHighscoreRows) {
    if (fresh) return true;
  }
  return false;
}

}  // namespace

bool SaveHighscores() {
  // A link is followed: the table is kept where it points, and locked there.
  const std::string path = LinkTarget(kHighscoreFile);
  HighscoreEntry shown[kHighscoreRows];
  bool shownNew[kHighscoreRows];
  std::memcpy(shown, HighscoreTable, sizeof shown);
  std::memcpy(shownNew, NewHighscoreRows, sizeof shownNew);
  // Where the file system has no locks the save still goes ahead, whole and in one rename.
  const int lock = LockFolder(FolderOf(path));
  if (lock < 0 && errno == EWOULDBLOCK) ReportLockHeld(FolderOf(path));
  const bool saved = Merged(path);
  const int reason = errno;
  UnlockFolder(lock);
  HighscoreSaveFailed = !saved;
  if (!saved) {
    // The rows stay new, and the table as shown, for the next save to try again.
    std::memcpy(HighscoreTable, shown, sizeof shown);
    std::memcpy(NewHighscoreRows, shownNew, sizeof shownNew);
    ReportFailure(path, reason);
    return false;
  }
  for (bool& fresh : NewHighscoreRows) fresh = false;
  return true;
}

bool SaveNewHighscores() { return !AnyNewRows() || SaveHighscores(); }

bool HighscoreRowsUnsaved() { return HighscoreSaveFailed && AnyNewRows(); }
