// Reading the fields of a state line back, for tests that follow the game flip by flip.
#pragma once

#include <string>
#include <vector>

// The text of field `name` ("score", "flies", ...), or "" when the line has none.
std::string Field(const std::string& line, const std::string& name);

int IntField(const std::string& line, const std::string& name);

// The comma-separated numbers of a field such as "counts" or "cursor".
std::vector<int> IntsField(const std::string& line, const std::string& name);

struct FlyAt {
  int index;
  int x;
  int y;
  int frame;
};

std::vector<FlyAt> Flies(const std::string& line);

// Where two runs' lines part: the first line that differs, as each run has it, or "" when
// they are the same.
std::string FirstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& played);
