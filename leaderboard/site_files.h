// The browser's game served from the leaderboard, under /play/: its files as a static server
// sends them, and a header that tells the page it may send its games here.
#pragma once

#include <string>

namespace httplib {
class Server;
}

// The header on every file of the site: where the leaderboard's root is, from the page.
constexpr char kLeaderboardHeader[] = "Zimbrel-Leaderboard";

void ServeSite(httplib::Server& http, const std::string& folder);
