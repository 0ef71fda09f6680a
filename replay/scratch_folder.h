// A fresh folder for one run of the game, with only the runnable folder's gfx/ and snd/ linked
// in: the game starts from the default highscore table and never writes over the player's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

struct ScratchFolder {
  std::filesystem::path runFolder;  // where the tool was started, which it returns to
  std::filesystem::path folder;
};

// Makes the folder beside nothing of the player's (in the system's temporary folder) and makes
// it the working folder. Nothing, with `error`, when the working folder is not a runnable one.
std::optional<ScratchFolder> EnterScratchFolder(std::string* error);

// Back to the runnable folder; the scratch folder and all in it are removed.
void LeaveScratchFolder(const ScratchFolder& scratch);
