// Whose request it is. The socket's peer, unless the peer is a proxy the operator trusts: then
// the right-most X-Forwarded-For entry that is not itself a trusted proxy, since every entry
// left of those was written by the client and proves nothing.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <variant>

#include "leaderboard/request_head.h"

// An IPv4 or IPv6 address in its one written form ("::ffff:10.0.0.1" as "10.0.0.1"); nothing
// for text that is not an address.
std::optional<std::string> CanonicalAddress(const std::string& text);

// `peer` and `trusted` in canonical form; `forwardedFor` the header's values, joined.
std::variant<std::string, Refusal> ClientAddress(const std::string& peer, const std::optional<std::string>& forwardedFor,
                                                 const std::set<std::string>& trusted);
