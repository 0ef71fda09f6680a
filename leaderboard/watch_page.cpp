#include "leaderboard/watch_page.h"

#include "leaderboard/game_views.h"
#include "replay/proof.h"

namespace {

constexpr char kStyle[] =
    "body{font-family:sans-serif;background:#1b2a1b;color:#f4f1de;margin:1em auto;max-width:60em;padding:0 1em}"
    "h1{color:#ffd23f;margin:.2em 0}p{color:#c8c3a8}a{color:#ffd23f}";

// Replaces the first `marker` in `page`; the page as it was when the marker is missing.
void Fill(std::string& page, const std::string& marker, const std::string& with) {
  const size_t at = page.find(marker);
  if (at != std::string::npos) page.replace(at, marker.size(), with);
}

std::string Facts(const KeptGame& game, int64_t rank) {
  std::string tally;
  for (size_t hit = 0; hit < game.swats.size(); ++hit) {
    tally += (hit == 0 ? "" : ", ") + std::to_string(game.swats[hit]) + " hit " + std::to_string(hit) +
             (hit + 1 == game.swats.size() ? " or more" : "");
  }
  const std::string date = UtcText(game.receivedAt);
  return "<h1 id=\"game-name\">" + Escaped(game.name) + "</h1>\n<p id=\"game-facts\">Rank " + std::to_string(rank) +
         " in <a href=\"/\">the world's table</a> &middot; score " + Grouped(game.score) + " &middot; stage " +
         std::to_string(game.stage) + " &middot; " + date.substr(0, 10) + " " + date.substr(11, 5) +
         " UTC</p>\n<p id=\"game-tally\">Swats: " + tally + ".</p>";
}

}  // namespace

std::string WatchPage(const KeptGame& game, int64_t rank, const std::string& player) {
  const std::string id = std::to_string(game.id);
  const std::string proof = "/api/v1/games/" + id + "/replay";
  if (player.empty()) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>Zimbrel: " +
           Escaped(game.name) + "'s game</title><style>" + kStyle + "</style></head><body>\n" + Facts(game, rank) +
           "\n<p><a href=\"" + proof + "\">The game's replay</a>, to watch with <code>zimbrel-replay watch</code>."
           "</p>\n</body></html>\n";
  }
  // The player's files lie under /play/; the page itself is one level down from the root.
  std::string page = player;
  Fill(page, "<!--base-->", "<base href=\"../play/\">");
  Fill(page, "<title>Zimbrel</title>", "<title>Zimbrel: " + Escaped(game.name) + "'s game</title>");
  Fill(page, "<!--game-->", Facts(game, rank));
  Fill(page, "data-proof=\"\"", "data-proof=\".." + proof + "\"");
  return page;
}

std::string NoGamePage(const std::string& id) {
  return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Zimbrel: no such game</title>"
         "<style>" + std::string(kStyle) + "</style></head><body>\n<h1>No game " + Escaped(id) +
         "</h1>\n<p>It is not on <a href=\"/\">the world's table</a>.</p>\n</body></html>\n";
}
