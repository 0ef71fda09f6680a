#include "tests/support/state_line_fields.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

std::string Field(const std::string& line, const std::string& name) {
  std::istringstream words(line);
  std::string word;
  const std::string prefix = name + "=";
  while (words >> word) {
    if (word.starts_with(prefix)) return word.substr(prefix.size());
  }
  return "";
}

int IntField(const std::string& line, const std::string& name) {
  return std::stoi(Field(line, name));
}

std::vector<int> IntsField(const std::string& line, const std::string& name) {
  std::vector<int> values;
  std::istringstream parts(Field(line, name));
  std::string part;
  while (std::getline(parts, part, ',')) values.push_back(part == "-" ? 0 : std::stoi(part));
  return values;
}

std::vector<FlyAt> Flies(const std::string& line) {
  std::vector<FlyAt> flies;
  std::istringstream entries(Field(line, "flies"));
  std::string entry;
  while (std::getline(entries, entry, ';')) {
    FlyAt fly{};
    if (std::sscanf(entry.c_str(), "%d:%d,%d,%d", &fly.index, &fly.x, &fly.y, &fly.frame) == 4) {
      flies.push_back(fly);
    }
  }
  return flies;
}

std::string FirstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& played) {
  const auto [wrong, right] =
      std::mismatch(played.begin(), played.end(), expected.begin(), expected.end());
  if (wrong == played.end() && right == expected.end()) return "";
  return "line " + std::to_string(wrong - played.begin() + 1) +
         ":\n  expected: " + (right != expected.end() ? *right : "(no more lines)") +
         "\n  played:   " + (wrong != played.end() ? *wrong : "(no more lines)");
}
