// A number as every message and page shows a score: its thousands grouped with commas.
#pragma once

#include <cstdint>
#include <string>

// "-1,234,567" for -1234567.
std::string Grouped(int64_t number);
