// The highscore screen: the ten best games, and the name of a game that has just entered them.
#pragma once

#include <cstdint>

extern int32_t RowSpacing;     // pixels between rows: 0 on entry, 3 more a frame up to 36
extern bool NameEntryActive;   // a new row is waiting for its name
extern int32_t EditRow;        // the new row
extern int32_t TypedCount;     // name characters typed so far, 0 to 3
extern bool MarkerBlink;       // flips every frame: whether the marker shows

void RunHighscoreFrame();
