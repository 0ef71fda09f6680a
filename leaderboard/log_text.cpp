#include "leaderboard/log_text.h"

#include <cstdio>

std::string Printable(const std::string& text, size_t most) {
  std::string shown;
  for (const unsigned char c : text.substr(0, most)) {
    if (c < 0x20 || c >= 0x7f || c == '"') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      shown += escaped;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return text.size() > most ? shown + "..." : shown;
}

void LogRequestLine(const std::string& client, const std::string& method, const std::string& path, int status,
                    const std::string& took, const std::string& note) {
  std::fprintf(stderr, "%s %s %s %d %s%s%s\n", client.c_str(), Printable(method, 10).c_str(), Printable(path).c_str(),
               status, took.c_str(), note.empty() ? "" : " ", Printable(note, 300).c_str());
}
