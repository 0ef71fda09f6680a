// Which font file stands for a face the game asks for.
#pragma once

#include <string>

struct FontFile {
  std::string path;
  int index = 0;
  bool bold = false;
};

// The asked face where it is installed, else the free Comic Neue (the look-alike of the game's
// one face), else the system's sans, else Comic Neue's file where no font is known.
void FindFontFile(const char* face, bool bold, bool italic, FontFile* out);
