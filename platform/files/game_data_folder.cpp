#include "platform/files/game_data_folder.h"

namespace {

std::string dataFolder;  // empty: the working directory
std::string firstUnreadable;

}  // namespace

void SetGameDataFolder(const char* folder) { dataFolder = folder ? folder : ""; }

std::string GameDataPath(const char* gameName) {
  std::string path(gameName);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (dataFolder.empty() || path.empty() || path.front() == '/') return path;
  return dataFolder + "/" + path;
}

void NoteUnreadableGameFile(const std::string& path) {
  if (firstUnreadable.empty()) firstUnreadable = path;
}

const std::string& FirstUnreadableGameFile() { return firstUnreadable; }
