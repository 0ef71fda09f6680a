#include "leaderboard/client_address.h"

#include <arpa/inet.h>

#include <cstring>

std::optional<std::string> CanonicalAddress(const std::string& text) {
  in6_addr six{};
  in_addr four{};
  char written[INET6_ADDRSTRLEN] = "";
  if (inet_pton(AF_INET, text.c_str(), &four) == 1) return inet_ntop(AF_INET, &four, written, sizeof written);
  if (inet_pton(AF_INET6, text.c_str(), &six) != 1) return std::nullopt;
  if (IN6_IS_ADDR_V4MAPPED(&six)) {
    std::memcpy(&four, six.s6_addr + 12, sizeof four);
    return inet_ntop(AF_INET, &four, written, sizeof written);
  }
  return inet_ntop(AF_INET6, &six, written, sizeof written);
}

std::variant<std::string, Refusal> ClientAddress(const std::string& peer, const std::optional<std::string>& forwardedFor,
                                                 const std::set<std::string>& trusted) {
  if (!trusted.contains(peer) || !forwardedFor) return peer;
  std::string client = peer;
  for (size_t end = forwardedFor->size(); end != std::string::npos && trusted.contains(client);) {
    const size_t comma = end == 0 ? std::string::npos : forwardedFor->rfind(',', end - 1);
    const size_t start = comma == std::string::npos ? 0 : comma + 1;
    std::string entry = forwardedFor->substr(start, end - start);
    entry.erase(0, entry.find_first_not_of(" \t"));
    entry.erase(entry.find_last_not_of(" \t") + 1);
    const std::optional<std::string> address = CanonicalAddress(entry);
    if (!address) return Refusal{400, "X-Forwarded-For holds \"" + entry.substr(0, 60) + "\", which is not an address"};
    client = *address;
    end = comma;
  }
  return client;
}
