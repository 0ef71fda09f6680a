// Where the leaderboard keeps its games: one interface, with SQLite and PostgreSQL behind it
// and the same schema in both (leaderboard/schema.h). Every call may come from any thread; a
// store that cannot reach its database throws StoreError.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "leaderboard/kept_game.h"
#include "leaderboard/season.h"

// Why the store failed, as the operator and the player are told it.
enum class StoreFault { Unreachable, DiskFull };

struct StoreError : std::runtime_error {
  explicit StoreError(const std::string& what, StoreFault why = StoreFault::Unreachable)
      : std::runtime_error(what), fault(why) {}
  StoreFault fault;
  const char* Reason() const {
    return fault == StoreFault::DiskFull ? "the database's disk is full" : "the database cannot be reached";
  }
};

// A page of the ranking and the count of all games, as one moment of the table has them.
struct TopGames {
  std::vector<KeptGame> games;
  int64_t total = 0;
};

// Each game's rank (1 for the best) and the count of all games, at one moment.
struct Standing {
  std::vector<int64_t> ranks;
  int64_t total = 0;
};

// A line of the operators' log: when (seconds since 1970, UTC), who, what, on what, why.
struct AuditEntry {
  int64_t at = 0;
  std::string who;
  std::string action;  // "hold" (the server's review), "hide", "restore", "ban-name", "ban-address", "unban-name", "unban-address"
  std::string subject;  // a game's id, a name or an address
  std::string reason;
};

enum class BanKind { Name, Address };

// An operator's change that cannot be made (no such game, a game already so, no such ban).
struct AdminRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class GameStore {
 public:
  virtual ~GameStore() = default;

  // Keeps the proof with those of its games that no proof brought before, in one transaction,
  // and returns all of its games as kept (each with its id, and the time its first proof came).
  // A new game with a hold is kept off the table, held, with a line in the log by the server.
  // A proof that brings no new game is not kept. `fresh` (when given) says for each game
  // whether this call kept it.
  virtual std::vector<KeptGame> Keep(const ProofToKeep& proof, std::vector<bool>* fresh) = 0;
  // The games the proof of this hash brought, when it is kept; empty otherwise.
  virtual std::vector<KeptGame> GamesOfProof(const std::string& hash) = 0;
  // Best first: the higher score, and of equal scores the game kept first; of those whose
  // first proof came within `season`, when it is given, and the total of those.
  virtual TopGames Top(int64_t limit, int64_t offset, const std::optional<Season>& season) = 0;
  // A player's games on the table, in the same order, and the count of them.
  virtual TopGames PlayerGames(const std::string& name, int64_t limit, int64_t offset) = 0;
  virtual std::optional<KeptGame> Game(int64_t id) = 0;
  // The text of the proof that brought the game.
  virtual std::optional<std::string> ProofOf(int64_t gameId) = 0;
  virtual Standing StandingOf(const std::vector<KeptGame>& games) = 0;
  // An operator's hand, each change logged with `who` and its time: a hidden game leaves the
  // table, its ranks and the API; a banned name or address may keep no game. Throw
  // AdminRefusal when there is nothing to change.
  virtual void Hide(int64_t id, const std::string& reason, const std::string& who) = 0;
  virtual void Restore(int64_t id, const std::string& who) = 0;
  virtual void Ban(BanKind kind, const std::string& subject, const std::string& reason, const std::string& who) = 0;
  virtual void Unban(BanKind kind, const std::string& subject, const std::string& who) = 0;
  // Why it is banned; nothing when it is not.
  virtual std::optional<std::string> BanOf(BanKind kind, const std::string& subject) = 0;
  virtual std::vector<AuditEntry> AuditLog() = 0;
  // The newest games first, hidden ones too; of one name only when `name` is not empty, and
  // only those held for review when `heldOnly`.
  virtual std::vector<KeptGame> Newest(const std::string& name, bool heldOnly, int64_t limit) = 0;
  // The bucket `kind` of an address, shared by every server on the database: filled up to `now`
  // (seconds since 1970) at `perMinute` a minute, never past `perMinute`; then `amount` taken
  // when at least `least` is left. Returns what was left before the taking.
  virtual double TakeFromBucket(const std::string& kind, const std::string& address, double perMinute, double now,
                                double least, double amount) = 0;
  // A cheap look at the database: throws StoreError while it cannot be reached, or while its
  // disk is full.
  virtual void CheckHealth() = 0;
};

// Opens the store a --database address names, creating or bringing its schema up to date:
// "sqlite:PATH", or a "postgresql://" (or "postgres://") address as libpq takes it. Throws
// StoreError, saying which database and why, when it cannot.
std::unique_ptr<GameStore> OpenGameStore(const std::string& address);
