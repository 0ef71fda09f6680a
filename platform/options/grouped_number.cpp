#include "platform/options/grouped_number.h"

std::string Grouped(int64_t number) {
  // Through unsigned, so that the most negative number has a magnitude too.
  const uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  const std::string digits = std::to_string(magnitude);
  std::string grouped = number < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}
