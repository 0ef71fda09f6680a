// A process that checks one proof after another decodes the game's pictures once, before it
// forks a copy of itself for each check, and its copies share them: a picture loaded from a
// file is only ever the source of a copy, never drawn on.
#pragma once

#include <string>

// Decodes every picture file of `folder` now; from then on a picture loaded from one of them is
// the decoded one, shared.
void KeepGamePictures(const std::string& folder);
