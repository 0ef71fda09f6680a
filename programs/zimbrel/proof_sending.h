// The desktop game sends the games it keeps to a leaderboard through zimbrel-send, a program
// installed beside it and started only when a leaderboard is set, so that the game itself links
// no HTTP. A proof waits in replays/unsent/ (a link to the kept file) until the leaderboard has
// answered it for good, so nothing kept offline is lost: it is sent at the next start. The
// game's own thread only links the file and wakes the sender; no game record, clock or frame is
// touched by the sending.
#pragma once

#include <string>

// The leaderboard to send to: the command line's, else the one line of
// $XDG_CONFIG_HOME/zimbrel/leaderboard (~/.config/zimbrel/leaderboard); "" for none.
std::string ConfiguredLeaderboard(const std::string& fromCommandLine);

// In the program's entry, before the game starts (it forks while the process has one thread).
// The sender sends what waits in replays/unsent/ at once.
void StartSendingProofs(const std::string& url);
// A proof kept at `path`: it waits in replays/unsent/ and the sender is woken.
void NoteProofKept(const std::string& path);
