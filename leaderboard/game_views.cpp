#include "leaderboard/game_views.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

#include "leaderboard/table_files.h"
#include "replay/proof.h"
#include "replay/proof_json.h"

std::string Escaped(const std::string& text) {
  std::string html;
  for (const char c : text) {
    switch (c) {
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '&': html += "&amp;"; break;
      case '"': html += "&quot;"; break;
      case '\'': html += "&#39;"; break;
      default: html += c;
    }
  }
  return html;
}

namespace {

// The game's highscore screen: its font, its yellow-to-orange rows with a black shadow, on
// the blue of its backdrop (darkened, for the orange to read).
constexpr char kStyle[] =
    "@font-face{font-family:Game;src:url(/font/table.otf) format(\"opentype\");font-display:swap}"
    "body{font:bold 17px/1.35 Game,sans-serif;background:#101438;color:#ff0;margin:1.5em auto;max-width:60em;"
    "padding:0 1em;text-shadow:2px 2px #000}h1{margin:.2em 0;font-size:2em}p,nav,th,.tally{color:#d8dcff}"
    "a{color:inherit}table{border-collapse:collapse;width:100%}th,td{padding:.3em .5em;text-align:right;"
    "white-space:nowrap}th{vertical-align:bottom}thead tr:last-child th,th[rowspan]{border-bottom:2px solid #ff0}"
    "th.group{text-align:center;border-bottom:1px solid #d8dcff}tr.hits th,td.tally{padding:.3em}"
    "tbody tr:nth-child(even){background:#1a2058}.name{text-align:left}nav{margin:1em 0}"
    // A phone keeps the columns that tell the games apart (the tally is on the game's page),
    // and a finger's room around each link.
    "@media (max-width:40em){body{margin:.5em auto;padding:0 .3em;font-size:15px}"
    ".tally,tr.hits,th.group,.time{display:none}th,td{padding:0 .25em}"
    "td a,nav a,p a{display:inline-block;min-width:48px;min-height:48px;line-height:48px;text-align:center}}";

std::string Head(const std::string& title, const std::string& description) {
  return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>" +
         Escaped(title) + "</title><meta name=\"description\" content=\"" + Escaped(description) +
         "\"><link rel=\"icon\" href=\"/favicon.ico\"><link rel=\"preload\" href=\"" + kTableFontPath +
         "\" as=\"font\" type=\"font/otf\" crossorigin><style>" + kStyle + "</style></head><body>\n<h1>" +
         Escaped(title) + "</h1>\n";
}

// As the highscore screen colours its rows: red 255, green falling by 19 a row, the tenth
// row's orange kept below it.
std::string RankColour(int64_t rank) {
  char colour[16];
  std::snprintf(colour, sizeof colour, "#ff%02x00", static_cast<unsigned>(255 - 19 * std::clamp<int64_t>(rank - 1, 0, 9)));
  return colour;
}

std::string GameRow(const KeptGame& game, int64_t rank) {
  std::string tally;
  for (const int32_t count : game.swats) tally += "<td class=\"tally\">" + std::to_string(count) + "</td>";
  const std::string date = UtcText(game.receivedAt);
  const std::string id = std::to_string(game.id);
  return "<tr style=\"color:" + RankColour(rank) + "\"><td>" + std::to_string(rank) +
         "</td><td class=\"name\"><a href=\"/players/" + UrlEncoded(game.name) + "\">" + Escaped(game.name) +
         "</a></td><td>" + Grouped(game.score) + "</td>" + tally + "<td>" + std::to_string(game.stage) + "</td><td>" +
         date.substr(0, 10) + "<span class=\"time\"> " + date.substr(11, 5) + "</span></td><td><a href=\"/games/" +
         id + "\">watch</a> <a href=\"/api/v1/games/" + id + "/replay\">file</a></td></tr>\n";
}

// Where a page of this table is: `base` ends in ? or &amp;.
std::string PageLink(const std::string& base, int64_t page, const std::string& text) {
  std::string address = base + "page=" + std::to_string(page);
  if (page == 1) address = base.substr(0, base.size() - (base.ends_with("&amp;") ? 5 : 1));
  return "<a href=\"" + address + "\">" + text + "</a>";
}

}  // namespace

std::string UtcText(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

nlohmann::json GameJson(const KeptGame& game, int64_t rank) {
  nlohmann::json json = ProvenGameJson(game);
  json.erase("play");  // the check's measure of the hand, for the server's review; the store keeps none
  json["id"] = game.id;
  json["rank"] = rank;
  json["received"] = UtcText(game.receivedAt);
  json["replay"] = "/api/v1/games/" + std::to_string(game.id) + "/replay";
  return json;
}

std::string UrlEncoded(const std::string& text) {
  std::string encoded;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_' || c == '~') {
      encoded += c;
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
      encoded += escape;
    }
  }
  return encoded;
}

std::string TablePage(const TablePageView& view) {
  const bool week = !view.season.empty();
  const std::string title = !view.player.empty() ? "Zimbrel: " + view.player + "'s games"
                            : week               ? "Zimbrel: the world's table, week " + view.season
                                                 : "Zimbrel: the world's table";
  std::string html = Head(title, "The best games of Zimbrel, the fly-swatting arcade game, each played again "
                                 "from its replay before it was ranked; watch any of them.");
  html += "<p>Every game here was played again from its replay before it was ranked. "
          "Watch one here, or download its replay and watch it with <code>zimbrel-replay watch</code>.";
  if (view.playable) html += " <a href=\"/play/\">Play in your browser</a>.";
  html += "</p>\n<nav>";
  if (!view.player.empty()) {
    html += "<a href=\"/\">The world's table</a>";
  } else {
    html += std::string(week ? "<a href=\"/\">All time</a>" : "<strong>All time</strong>") + " &middot; " +
            (view.season == view.thisWeek ? "<strong>This week</strong>"
                                          : "<a href=\"/?season=" + view.thisWeek + "\">This week</a>") +
            (week && view.season != view.thisWeek ? " &middot; <strong>" + view.season + "</strong>" : "") +
            " (weeks from Monday, UTC)";
  }
  html += "</nav>\n<table>\n<thead><tr><th rowspan=\"2\">Rank</th><th rowspan=\"2\" class=\"name\">Name</th>"
          "<th rowspan=\"2\">Score</th><th colspan=\"8\" class=\"group\">Swats that hit</th>"
          "<th rowspan=\"2\">Stage</th><th rowspan=\"2\">Date (UTC)</th><th rowspan=\"2\">Replay</th></tr>\n"
          "<tr class=\"hits\"><th>0</th><th>1</th><th>2</th><th>3</th><th>4</th><th>5</th><th>6</th><th>7+</th></tr>"
          "</thead>\n<tbody>\n";
  for (size_t i = 0; i < view.games.size(); ++i) html += GameRow(view.games[i], view.ranks[i]);
  if (view.games.empty()) {
    html += std::string("<tr><td colspan=\"14\" class=\"name\">") +
            (week ? "No game was ranked in that week." : "No game has been ranked yet.") + "</td></tr>\n";
  }
  html += "</tbody></table>\n<nav>";
  const std::string base = !view.player.empty() ? "/players/" + UrlEncoded(view.player) + "?"
                           : week               ? "/?season=" + view.season + "&amp;"
                                                : "/?";
  if (view.page > 1) html += PageLink(base, view.page - 1, "&larr; better games") + " ";
  html += "page " + std::to_string(view.page) + " of " + std::to_string(view.pages);
  if (view.page < view.pages) html += " " + PageLink(base, view.page + 1, "more games &rarr;");
  html += "</nav>\n</body></html>\n";
  return html;
}

std::string MissingPage(const std::string& why, const std::string& backTo, const std::string& back) {
  return Head("Zimbrel: nothing here", "Zimbrel's world table has no such page.") + "<p>" + Escaped(why) +
         "</p>\n<nav><a href=\"" + backTo + "\">" + Escaped(back) + "</a></nav>\n</body></html>\n";
}
