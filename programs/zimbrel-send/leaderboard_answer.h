// What an answer to a sent proof means: the proof ranked, held for an operator's review, the
// proof itself refused (all for good), or anything else (a wrong address, a proxy's page, a
// busy or broken server, no answer), which keeps the proof for the next start; and the
// player's line that says so.
#pragma once

#include <httplib.h>

#include <string>

struct AnswerMeaning {
  enum class Fate { Ranked, Held, Refused, Waits } fate = Fate::Waits;  // only Waits keeps the proof
  // "ranks NAME (SCORE) RANK of TOTAL", "holds it for review: why", the refusal's reason, or
  // why it waits
  std::string said;
};

// `host` and `port` are the leaderboard's, `waited` the timeout the request was given and
// `took` how long it took (seconds).
AnswerMeaning MeaningOf(const httplib::Result& result, const std::string& host, int port, int waited,
                        double took);
