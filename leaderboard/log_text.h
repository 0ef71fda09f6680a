// Text from a request as the log shows it: short, with control bytes escaped, so that no client
// can forge or break a line of the log.
#pragma once

#include <string>

std::string Printable(const std::string& text, size_t most = 120);

// The one line a request leaves on standard error; `took` is "-" for a request answered
// before it was routed.
void LogRequestLine(const std::string& client, const std::string& method, const std::string& path, int status,
                    const std::string& took, const std::string& note);
