// The highscore screen: the ten best games, and the name of a game that has just entered them.
#pragma once

void RunHighscoreFrame();
