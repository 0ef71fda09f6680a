// The whole game in one line of text, taken at every flip: what tests and replays compare.
// Making it changes nothing the game sees: no clock is advanced and no number drawn.
#pragma once

#include <string>
#include <vector>

std::string StateLine();
// From now on, the line of every flip is added to `lines`.
void CollectStateLines(std::vector<std::string>* lines);
