// The table's seasons: ISO weeks in UTC, named as ISO 8601 writes them ("2026-W50"), each from
// its Monday 00:00:00 to the next Monday's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct Season {
  std::string name;
  int64_t from = 0;  // seconds since 1970, UTC: the first second of the week
  int64_t to = 0;    // the first second of the next
};

// The week a name names; nothing for a name that is no ISO week (a week 53 only in the years
// that have one).
std::optional<Season> SeasonNamed(const std::string& name);
// The week that holds that moment.
Season SeasonOf(int64_t seconds);
