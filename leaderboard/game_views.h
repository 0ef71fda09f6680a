// A kept game as the API shows it (JSON) and the world's table as a page of HTML.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "leaderboard/kept_game.h"

// Text as HTML shows it, in an element or an attribute.
std::string Escaped(const std::string& text);

// "2026-12-09T19:37:02Z"
std::string UtcText(int64_t seconds);

nlohmann::json GameJson(const KeptGame& game, int64_t rank);

// Rows a page of the table shows.
constexpr int64_t kTablePageRows = 50;

struct TablePageView {
  std::vector<KeptGame> games;  // the page's rows, best first
  std::vector<int64_t> ranks;   // each one's rank on the world's table
  int64_t page = 1;             // from 1
  int64_t pages = 1;            // at least 1, even for no game
  bool playable = false;  // the browser's game is served under /play/
  std::string season;     // the week shown ("2026-W50"); "" for all time
  std::string thisWeek;   // the week now
  std::string player;     // a player's games: the name; "" for the world's table
};

// The whole page: plain HTML and a little CSS, no script.
std::string TablePage(const TablePageView& view);
// A page in the table's look that says why there is nothing to show, with a way back.
std::string MissingPage(const std::string& why, const std::string& backTo, const std::string& back);
// `text` as one segment of a URL's path or query: every byte but the unreserved ones escaped.
std::string UrlEncoded(const std::string& text);
