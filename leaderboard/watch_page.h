// A ranked game's own page, /games/{id}: what the game was (its name, score, swats, stage,
// date and rank) written by the server, so that it reads without script, above the browser's
// player of its proof when the server serves the browser's game.
#pragma once

#include <cstdint>
#include <string>

#include "leaderboard/kept_game.h"

// The page for `game` at `rank`. `player` is the site's watch.html, or "" where no site is
// served: the page then offers the proof to download instead.
std::string WatchPage(const KeptGame& game, int64_t rank, const std::string& player);

// The page for an id that names no game on the table.
std::string NoGamePage(const std::string& id);
