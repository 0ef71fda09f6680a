// zimbrel-leaderboard admin: an operator's hand on the table, beside a running server (which
// reads every change at its next answer). Each change is logged with the user who made it.
#pragma once

#include <string>
#include <vector>

// The arguments after "admin"; 0 when done, 2 for a wrong command, id, name or database
// (said on standard error), 1 when the database fails.
int RunAdmin(const std::vector<std::string>& arguments);
std::string AdminUsageText();
