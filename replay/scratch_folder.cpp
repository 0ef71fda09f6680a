#include "replay/scratch_folder.h"

#include <cerrno>
#include <cstring>

#include "platform/files/atomic_file.h"
#include "platform/files/temporary_folder.h"
#include "scores/highscore_file.h"

namespace fs = std::filesystem;

std::optional<ScratchFolder> EnterScratchFolder(std::string* error) {
  ScratchFolder scratch;
  std::error_code fault;
  scratch.runFolder = fs::current_path(fault);
  for (const char* sub : {"gfx", "snd"}) {
    if (fault || !fs::is_directory(scratch.runFolder / sub)) {
      *error = scratch.runFolder.string() + ": no " + sub +
               "/ folder here; zimbrel-replay runs in the runnable folder, beside zimbrel";
      return std::nullopt;
    }
  }
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-replay", error);
  if (!folder) return std::nullopt;
  scratch.folder = *folder;
  for (const char* sub : {"gfx", "snd"}) {
    fs::create_directory_symlink(scratch.runFolder / sub, scratch.folder / sub, fault);
    if (!fault) continue;
    *error = (scratch.folder / sub).string() + ": cannot be linked (" + fault.message() + ")";
    fs::remove_all(scratch.folder, fault);
    return std::nullopt;
  }
  fs::current_path(scratch.folder, fault);
  if (!fault) return scratch;
  *error = scratch.folder.string() + ": cannot be entered (" + fault.message() + ")";
  fs::remove_all(scratch.folder, fault);
  return std::nullopt;
}

bool PlaceStartingTable(const Replay& replay, std::string* error) {
  static_assert(sizeof(ReplayTable) == kHighscoreFileBytes);
  if (!replay.table) return true;
  if (WriteFileAtomically(kHighscoreFile, replay.table->data(), replay.table->size())) return true;
  *error = std::string(kHighscoreFile) + ": the replay's table cannot be written (" +
           std::strerror(errno) + ")";
  return false;
}

void LeaveScratchFolder(const ScratchFolder& scratch) {
  std::error_code fault;
  fs::current_path(scratch.runFolder, fault);
  fs::remove_all(scratch.folder, fault);
}
