#include "platform/options/grouped_number.h"

std::string Grouped(int64_t number) {
  // Through unsigned, so that the most negative number has a magnitude too.
  const uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  std::string digits = std::to_string(magnitude);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
  return (number < 0 ? "-" : "") + digits;
}
