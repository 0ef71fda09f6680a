// Reading the fields of a state line back, for tests that follow the game flip by flip.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// The text of field `name` ("score", "flies", ...), or "" when the line has none.
inline std::string Field(const std::string& line, const std::string& name) {
  std::istringstream words(line);
  std::string word;
  const std::string prefix = name + "=";
  while (words >> word) {
    if (word.starts_with(prefix)) return word.substr(prefix.size());
  }
  return "";
}

inline int IntField(const std::string& line, const std::string& name) {
  return std::stoi(Field(line, name));
}

// The comma-separated numbers of a field such as "counts" or "cursor".
inline std::vector<int> IntsField(const std::string& line, const std::string& name) {
  std::vector<int> values;
  std::istringstream parts(Field(line, name));
  std::string part;
  while (std::getline(parts, part, ',')) values.push_back(part == "-" ? 0 : std::stoi(part));
  return values;
}

struct FlyAt {
  int index;
  int x;
  int y;
  int frame;
};

inline std::vector<FlyAt> Flies(const std::string& line) {
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
