#include "leaderboard/season.h"

#include <chrono>
#include <cstdio>
#include <regex>

namespace {

using namespace std::chrono;

constexpr int64_t kDay = 86400;

// The Monday that starts week 1 of an ISO year: the week that holds its 4 January.
sys_days FirstMonday(int isoYear) {
  const sys_days fourth = year{isoYear} / January / 4;
  return fourth - (weekday{fourth} - Monday);
}

Season SeasonFrom(int isoYear, int week) {
  const sys_days monday = FirstMonday(isoYear) + days{7 * (week - 1)};
  char name[16];
  std::snprintf(name, sizeof name, "%04d-W%02d", isoYear, week);
  const int64_t from = monday.time_since_epoch().count() * kDay;
  return {name, from, from + 7 * kDay};
}

}  // namespace

std::optional<Season> SeasonNamed(const std::string& name) {
  static const std::regex form(R"(([0-9]{4})-W([0-9]{2}))");
  std::smatch parts;
  if (!std::regex_match(name, parts, form)) return std::nullopt;
  const int isoYear = std::stoi(parts[1]);
  const int week = std::stoi(parts[2]);
  const int weeks = static_cast<int>((FirstMonday(isoYear + 1) - FirstMonday(isoYear)).count() / 7);
  if (isoYear < 1970 || week < 1 || week > weeks) return std::nullopt;
  return SeasonFrom(isoYear, week);
}

Season SeasonOf(int64_t seconds) {
  const sys_days day{days{seconds >= 0 ? seconds / kDay : (seconds - kDay + 1) / kDay}};
  // The ISO year is the one that holds the week's Thursday.
  const sys_days thursday = day + days{4 - static_cast<int>(weekday{day}.iso_encoding())};
  const int isoYear = static_cast<int>(year_month_day{thursday}.year());
  return SeasonFrom(isoYear, static_cast<int>((thursday - FirstMonday(isoYear)).count() / 7) + 1);
}
