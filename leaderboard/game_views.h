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

struct TablePageView {
  std::vector<KeptGame> games;  // the page's rows, best first
  int64_t offset = 0;           // the rank of the first, less one
  int64_t pageSize = 100;
  bool more = false;      // rows follow this page
  bool playable = false;  // the browser's game is served under /play/
  std::string season;     // the week shown ("2026-W50"); "" for all time
  std::string thisWeek;   // the week now
};

// The whole page: plain HTML and a little CSS, no script.
std::string TablePage(const TablePageView& view);
