#include "leaderboard/game_views.h"

#include <algorithm>
#include <ctime>

#include "replay/proof.h"
#include "replay/proof_json.h"

namespace {

constexpr char kStyle[] =
    "body{font-family:sans-serif;background:#1b2a1b;color:#f4f1de;margin:2em auto;max-width:60em;padding:0 1em}"
    "h1{color:#ffd23f;margin-bottom:.2em}p{color:#c8c3a8}a{color:#ffd23f}"
    "table{border-collapse:collapse;width:100%}th,td{padding:.3em .6em;text-align:right}"
    "th{font-weight:normal;color:#c8c3a8;vertical-align:bottom}thead tr:last-child th,th[rowspan]{border-bottom:2px solid #ffd23f}"
    "th.group{text-align:center;border-bottom:1px solid #c8c3a8}tr.hits th,td.tally{padding:.3em .35em}"
    "tr:nth-child(even) td{background:#233623}td.name{text-align:left;font-family:monospace;font-size:1.2em}"
    "td.tally{color:#c8c3a8}th.name{text-align:left}nav{margin:1em 0}";

}  // namespace

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
  json["id"] = game.id;
  json["rank"] = rank;
  json["received"] = UtcText(game.receivedAt);
  json["replay"] = "/api/v1/games/" + std::to_string(game.id) + "/replay";
  return json;
}

std::string TablePage(const TablePageView& view) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      "<title>Zimbrel: the world's table</title><style>";
  html += kStyle;
  html += "</style></head><body>\n<h1>Zimbrel: the world's table</h1>\n"
          "<p>Every game here was played again from its replay before it was ranked. "
          "Download a game's replay and watch it with <code>zimbrel-replay watch</code>, "
          "or check it with <code>zimbrel-replay verify</code>.";
  if (view.playable) html += " <a href=\"/play/\">Play in your browser</a>.";
  html += "</p>\n<nav>" +
          std::string(view.season.empty() ? "<strong>All time</strong>" : "<a href=\"/\">All time</a>") + " &middot; " +
          (view.season == view.thisWeek ? "<strong>This week</strong>"
                                        : "<a href=\"/?season=" + view.thisWeek + "\">This week</a>") +
          (view.season.empty() || view.season == view.thisWeek ? "" : " &middot; <strong>" + view.season + "</strong>") +
          " (weeks from Monday, UTC)</nav>\n<table>\n<thead><tr><th rowspan=\"2\">Rank</th><th rowspan=\"2\" class=\"name\">Name</th>"
          "<th rowspan=\"2\">Score</th><th colspan=\"8\" class=\"group\">Swats that hit</th>"
          "<th rowspan=\"2\">Stage</th><th rowspan=\"2\">Date (UTC)</th><th rowspan=\"2\">Replay</th></tr>\n"
          "<tr class=\"hits\"><th>0</th><th>1</th><th>2</th><th>3</th><th>4</th><th>5</th><th>6</th><th>7+</th></tr>"
          "</thead>\n<tbody>\n";
  int64_t rank = view.offset;
  for (const KeptGame& game : view.games) {
    std::string tally;
    for (const int32_t count : game.swats) tally += "<td class=\"tally\">" + std::to_string(count) + "</td>";
    const std::string date = UtcText(game.receivedAt);
    html += "<tr><td>" + std::to_string(++rank) + "</td><td class=\"name\">" + Escaped(game.name) +
            "</td><td>" + Grouped(game.score) + "</td>" + tally + "<td>" +
            std::to_string(game.stage) + "</td><td>" + date.substr(0, 10) + " " + date.substr(11, 5) +
            "</td><td><a href=\"/api/v1/games/" + std::to_string(game.id) + "/replay\">replay</a></td></tr>\n";
  }
  if (view.games.empty()) {
    html += std::string("<tr><td colspan=\"14\">") +
            (view.season.empty() ? "No game has been ranked yet." : "No game was ranked in that week.") +
            "</td></tr>\n";
  }
  html += "</tbody></table>\n<nav>";
  const std::string inSeason = view.season.empty() ? "" : "season=" + view.season + "&amp;";
  if (view.offset > 0) {
    html += "<a href=\"/?" + inSeason + "offset=" + std::to_string(std::max<int64_t>(0, view.offset - view.pageSize)) +
            "\">&larr; better games</a> ";
  }
  if (view.more) {
    html += "<a href=\"/?" + inSeason + "offset=" + std::to_string(view.offset + view.pageSize) + "\">more games &rarr;</a>";
  }
  html += "</nav>\n</body></html>\n";
  return html;
}
