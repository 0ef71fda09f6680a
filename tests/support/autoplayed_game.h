// A whole game played by the scripted player in a run folder whose files a test has damaged
// first: the state line of every flip kept, and whether anything was heard on the way.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"
#include "tests/support/game_session.h"

// Writes over every file of the run folder's gfx or snd what `damage` makes of its bytes.
void DamageEvery(const char* sub, const std::function<Bytes(const Bytes&)>& damage);

// As many random bytes as the file held; the same for the same length.
Bytes RandomBytesLike(const Bytes& original);

class AutoplayedGame : public GameSession {
 protected:
  // Prepares the run folder and starts the game, up to its first flip.
  void Begin(const std::set<std::string>& leftOut, const std::function<void()>& damage = [] {});
  // Plays on to the end of the program, listening at every flip.
  void PlayOn();
  // Ended as a whole game does: the ten stages played, back on the title, the table kept.
  void ExpectPlayedToItsEnd() const;

  std::vector<std::string> lines_;
  bool heard_ = false;
};
