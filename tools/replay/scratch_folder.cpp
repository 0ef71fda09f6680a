#include "tools/replay/scratch_folder.h"

#include "platform/files/temporary_folder.h"

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
  const std::optional<fs::path> folder = MakeTemporaryFolder("zimbrel-replay");
  if (!folder) {
    *error = TemporaryFolderPattern("zimbrel-replay").string() +
             ": cannot make a scratch folder for the run";
    return std::nullopt;
  }
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

bool KeepHighscores(const ScratchFolder& scratch, const std::string& path, std::string* error) {
  std::error_code fault;
  const fs::path written = scratch.folder / "Highscore.dat";
  if (!fs::exists(written, fault)) {
    *error = path + ": not written, the run wrote no Highscore.dat";
    return false;
  }
  fs::copy_file(written, path, fs::copy_options::overwrite_existing, fault);
  if (!fault) return true;
  *error = path + ": cannot be written (" + fault.message() + ")";
  return false;
}

void LeaveScratchFolder(const ScratchFolder& scratch) {
  std::error_code fault;
  fs::current_path(scratch.runFolder, fault);
  fs::remove_all(scratch.folder, fault);
}
