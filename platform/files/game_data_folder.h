// Where the game's pictures and sounds are read from. The game names them as "gfx\Fly1.bmp";
// that is gfx/Fly1.bmp below the data folder, which is the working directory unless the
// program's entry chose another (the browser keeps them apart from the folder it saves in).
#pragma once

#include <string>

void SetGameDataFolder(const char* folder);
// The file a name of the game's stands for.
std::string GameDataPath(const char* gameName);

// The first of the game's files that could not be read, or held no picture: "" when none. A
// run without one of them plays another game, so a check that met one says nothing of its
// replay.
void NoteUnreadableGameFile(const std::string& path);
const std::string& FirstUnreadableGameFile();
