// Where a kept proof waits (a link to the kept file) until the leaderboard has answered it for
// good: the game puts it there, zimbrel-send takes it away.
#pragma once

constexpr char kUnsentFolder[] = "replays/unsent";
