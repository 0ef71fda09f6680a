// A fresh folder for one run of the game, with only the runnable folder's gfx/ and snd/ linked
// in: the game starts from the table its replay carries (else the default one) and never writes
// over the player's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "replay/replay_file.h"

struct ScratchFolder {
  std::filesystem::path runFolder;  // where the tool was started, which it returns to
  std::filesystem::path folder;
};

// Makes the folder beside nothing of the player's (in the system's temporary folder) and makes
// it the working folder. Nothing, with `error`, when the working folder is not a runnable one.
std::optional<ScratchFolder> EnterScratchFolder(std::string* error);

// Puts the table the replay starts from in the working folder, as its Highscore.dat; a replay
// without one leaves no file, and the game starts from the default table. False, with why, when
// it cannot be written.
bool PlaceStartingTable(const Replay& replay, std::string* error);

// Back to the runnable folder; the scratch folder and all in it are removed.
void LeaveScratchFolder(const ScratchFolder& scratch);
