// The desktop game sends the games it keeps to a leaderboard: a process of its own, started
// before the game, sends each proof the game keeps and says on standard error the rank the
// leaderboard gave, or why it refused. A proof waits in replays/unsent/ (a link to the kept
// file) until the leaderboard has answered it for good, so nothing kept offline is lost: it is
// sent at the next start. The game's own thread only links the file and wakes the sender; no
// game record, clock or frame is touched by the sending.
#pragma once

#include <string>

constexpr char kUnsentFolder[] = "replays/unsent";

// The leaderboard to send to: the command line's, else the one line of
// $XDG_CONFIG_HOME/zimbrel/leaderboard (~/.config/zimbrel/leaderboard); "" for none.
std::string ConfiguredLeaderboard(const std::string& fromCommandLine);

// In the program's entry, before the game starts (it forks while the process has one thread).
// Sends what waits in replays/unsent/ at once.
void StartSendingProofs(const std::string& url);
// A proof kept at `path`: it waits in replays/unsent/ and the sender is woken.
void NoteProofKept(const std::string& path);
