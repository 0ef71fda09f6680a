// The store over either database: the same statements in both, a few connections taken in
// turn by the threads that ask.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <mutex>

#include "leaderboard/game_store.h"
#include "leaderboard/schema.h"
#include "leaderboard/sql_connection.h"
#include "platform/options/quoted_text.h"

namespace {

constexpr int kConnections = 4;
constexpr int64_t kDiskFullShownSeconds = 60;

int64_t SecondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The games are counted by runs of scores (the schema's score_buckets): score / 1024, as C++
// and both databases divide, toward zero.
constexpr int64_t kBucketWidth = 1024;
int64_t BucketOf(int64_t score) { return score / kBucketWidth; }
int64_t HighestIn(int64_t bucket) { return bucket >= 0 ? bucket * kBucketWidth + kBucketWidth - 1 : bucket * kBucketWidth; }

const std::string kColumns =
    "games.id, name, score, swats_0, swats_1, swats_2, swats_3, swats_4, swats_5, swats_6,"
    " swats_7, stage, flips, game_key, games.received_at, hidden_reason, held";
// The games on the table: those no operator has hidden.
const std::string kShown = "hidden_reason IS NULL";

KeptGame GameOf(const SqlRow& row) {
  KeptGame game;
  size_t column = 0;
  game.id = std::stoll(row[column++]);
  game.name = row[column++];
  game.score = std::stoi(row[column++]);
  for (int32_t& count : game.swats) count = std::stoi(row[column++]);
  game.stage = std::stoi(row[column++]);
  game.flip = std::stoull(row[column++]);
  game.key = row[column++];
  game.receivedAt = std::stoll(row[column++]);
  game.hiddenReason = row[column++];
  game.held = row[column++] == "1";
  return game;
}

std::vector<KeptGame> GamesOf(const std::vector<SqlRow>& rows) {
  std::vector<KeptGame> games;
  for (const SqlRow& row : rows) games.push_back(GameOf(row));
  return games;
}

class SqlGameStore final : public GameStore {
 public:
  explicit SqlGameStore(std::function<std::unique_ptr<SqlConnection>()> open) : open_(std::move(open)) {
    for (int i = 0; i < kConnections; ++i) idle_.push_back(open_());
    MigrateSchema(*idle_.front());
  }

  std::vector<KeptGame> Keep(const ProofToKeep& proof, std::vector<bool>* fresh) override {
    return With([&](SqlConnection& db) {
      db.Begin();
      try {
        std::vector<KeptGame> kept;
        std::vector<bool> isNew;
        for (const ProvenGame& game : proof.games) {
          const std::optional<KeptGame> known = ByKey(db, game.key);
          kept.push_back(known.value_or(KeptGame{game}));
          isNew.push_back(!known);
        }
        if (std::find(isNew.begin(), isNew.end(), true) != isNew.end()) {
          const int64_t proofId = ProofId(db, proof);
          for (size_t i = 0; i < kept.size(); ++i) {
            const std::string hold = i < proof.holds.size() ? proof.holds[i] : "";
            if (isNew[i]) isNew[i] = Insert(db, proofId, proof.games[i], proof.receivedAt, hold, &kept[i]);
            db.Run("INSERT INTO proof_games (proof_id, game_id) VALUES ($1, $2) ON CONFLICT DO NOTHING",
                   {proofId, kept[i].id});
          }
        }
        db.Commit();
        diskFullAt_ = 0;
        if (fresh) *fresh = isNew;
        return kept;
      } catch (const StoreError& fault) {
        db.Rollback();
        if (fault.fault == StoreFault::DiskFull) diskFullAt_ = SecondsNow();
        throw;
      } catch (...) {
        db.Rollback();
        throw;
      }
    });
  }

  std::vector<KeptGame> GamesOfProof(const std::string& hash) override {
    return With([&](SqlConnection& db) {
      return GamesOf(db.Run("SELECT " + kColumns + " FROM games JOIN proof_games ON game_id = games.id"
                            " JOIN proofs ON proofs.id = proof_games.proof_id"
                            " WHERE hash = $1 ORDER BY flips",
                            {hash}));
    });
  }

  TopGames Top(int64_t limit, int64_t offset, const std::optional<Season>& season) override {
    if (season) return FewTop(" received_at >= $1 AND received_at < $2", {season->from, season->to}, limit, offset);
    return Snapshot([&](SqlConnection& db) {
      TopGames top{{}, Total(db)};
      // Far down, the page starts in the run of scores that holds its first game.
      int64_t highest = INT32_MAX;
      int64_t before = 0;
      if (offset > 0) {
        const std::vector<SqlRow> buckets = db.Run("SELECT bucket, games FROM score_buckets ORDER BY bucket DESC", {});
        size_t b = 0;
        for (; b < buckets.size() && before + std::stoll(buckets[b][1]) <= offset; ++b) before += std::stoll(buckets[b][1]);
        if (b == buckets.size()) return top;
        highest = HighestIn(std::stoll(buckets[b][0]));
      }
      top.games = GamesOf(db.Run("SELECT " + kColumns +
                                     " FROM games WHERE score <= $1 AND " + kShown + " ORDER BY score DESC, id LIMIT $2 OFFSET $3",
                                 {highest, limit, offset - before}));
      return top;
    });
  }

  TopGames PlayerGames(const std::string& name, int64_t limit, int64_t offset) override {
    return FewTop(" name = $1", {name}, limit, offset);
  }

  // A week's games, or a player's, are few beside all of them: found by their index, counted
  // whole. `where` numbers its parameters from $1.
  TopGames FewTop(const std::string& where, std::vector<SqlParam> params, int64_t limit, int64_t offset) {
    return Snapshot([&](SqlConnection& db) {
      const std::string within = " FROM games WHERE" + where + " AND " + kShown;
      const std::string next = "$" + std::to_string(params.size() + 1);
      const std::string after = "$" + std::to_string(params.size() + 2);
      TopGames top;
      top.total = std::stoll(db.Run("SELECT count(*)" + within, params)[0][0]);
      params.insert(params.end(), {limit, offset});
      top.games = GamesOf(db.Run("SELECT " + kColumns + within + " ORDER BY score DESC, id LIMIT " + next +
                                     " OFFSET " + after, params));
      return top;
    });
  }

  std::optional<KeptGame> Game(int64_t id) override {
    return With([&](SqlConnection& db) -> std::optional<KeptGame> {
      const std::vector<SqlRow> rows = db.Run("SELECT " + kColumns + " FROM games WHERE id = $1", {id});
      if (rows.empty()) return std::nullopt;
      return GameOf(rows[0]);
    });
  }

  std::optional<std::string> ProofOf(int64_t gameId) override {
    return With([&](SqlConnection& db) -> std::optional<std::string> {
      const std::vector<SqlRow> rows = db.Run(
          "SELECT text FROM proofs JOIN games ON games.proof_id = proofs.id WHERE games.id = $1", {gameId});
      if (rows.empty()) return std::nullopt;
      return rows[0][0];
    });
  }

  Standing StandingOf(const std::vector<KeptGame>& games) override {
    return Snapshot([&](SqlConnection& db) {
      Standing standing{{}, Total(db)};
      for (const KeptGame& game : games) standing.ranks.push_back(RankOf(db, game));
      return standing;
    });
  }

  void Hide(int64_t id, const std::string& reason, const std::string& who) override {
    Change(who, "hide", std::to_string(id), reason, [&](SqlConnection& db) {
      const KeptGame game = Shown(db, id);
      db.Run("UPDATE games SET hidden_reason = $1 WHERE id = $2", {reason, id});
      db.Run("UPDATE score_buckets SET games = games - 1 WHERE bucket = $1", {BucketOf(game.score)});
    });
  }

  void Restore(int64_t id, const std::string& who) override {
    Change(who, "restore", std::to_string(id), "", [&](SqlConnection& db) {
      const std::vector<SqlRow> rows = db.Run("SELECT score FROM games WHERE id = $1 AND NOT " + kShown, {id});
      if (rows.empty()) throw AdminRefusal("no hidden game " + std::to_string(id));
      db.Run("UPDATE games SET hidden_reason = NULL, held = 0 WHERE id = $1", {id});
      CountInBucket(db, std::stoll(rows[0][0]));
    });
  }

  void Ban(BanKind kind, const std::string& subject, const std::string& reason, const std::string& who) override {
    Change(who, std::string("ban-") + KindWord(kind), subject, reason, [&](SqlConnection& db) {
      if (db.Run("INSERT INTO bans (kind, subject, reason) VALUES ($1, $2, $3) ON CONFLICT DO NOTHING RETURNING kind",
                 {std::string(KindWord(kind)), subject, reason})
              .empty()) {
        throw AdminRefusal(std::string("the ") + KindWord(kind) + " " + subject + " is banned already");
      }
    });
  }

  void Unban(BanKind kind, const std::string& subject, const std::string& who) override {
    Change(who, std::string("unban-") + KindWord(kind), subject, "", [&](SqlConnection& db) {
      if (db.Run("DELETE FROM bans WHERE kind = $1 AND subject = $2 RETURNING kind", {std::string(KindWord(kind)), subject})
              .empty()) {
        throw AdminRefusal(std::string("no ban of the ") + KindWord(kind) + " " + subject);
      }
    });
  }

  std::optional<std::string> BanOf(BanKind kind, const std::string& subject) override {
    return With([&](SqlConnection& db) -> std::optional<std::string> {
      const std::vector<SqlRow> rows =
          db.Run("SELECT reason FROM bans WHERE kind = $1 AND subject = $2", {std::string(KindWord(kind)), subject});
      if (rows.empty()) return std::nullopt;
      return rows[0][0];
    });
  }

  std::vector<AuditEntry> AuditLog() override {
    return With([&](SqlConnection& db) {
      std::vector<AuditEntry> log;
      for (const SqlRow& row : db.Run("SELECT at, who, action, subject, reason FROM audit ORDER BY id", {})) {
        log.push_back({std::stoll(row[0]), row[1], row[2], row[3], row[4]});
      }
      return log;
    });
  }

  std::vector<KeptGame> Newest(const std::string& name, bool heldOnly, int64_t limit) override {
    return With([&](SqlConnection& db) {
      return GamesOf(db.Run("SELECT " + kColumns + " FROM games WHERE ($1 = '' OR name = $1) AND held >= $3"
                            " ORDER BY id DESC LIMIT $2",
                            {name, limit, int64_t{heldOnly ? 1 : 0}}));
    });
  }

  double TakeFromBucket(const std::string& kind, const std::string& address, double perMinute, double now,
                        double least, double amount) override {
    // Buckets idle for an hour are full again and forgotten, now and then.
    if (++bucketTakes_ % 1000 == 0) {
      With([&](SqlConnection& db) {
        return db.Run("DELETE FROM address_budgets WHERE filled < CAST($1 AS DOUBLE PRECISION)",
                      {Decimal(now - 3600)}).empty();
      });
    }
    return With([&](SqlConnection& db) {
      db.Begin();
      try {
        const bool sqlite = db.Dialect() == SqlDialect::Sqlite;
        const std::string smaller = sqlite ? "min" : "LEAST";
        const std::string larger = sqlite ? "max" : "GREATEST";
        const std::string capacity = "CAST($3 AS DOUBLE PRECISION)";
        const std::string at = "CAST($4 AS DOUBLE PRECISION)";
        const double left = std::stod(db.Run(
            "INSERT INTO address_budgets (kind, address, tokens, filled) VALUES ($1, $2, " + capacity + ", " + at +
                ") ON CONFLICT (kind, address) DO UPDATE SET tokens = " + smaller + "(" + capacity +
                ", address_budgets.tokens + " + larger + "(0, " + at + " - address_budgets.filled) * " + capacity +
                " / 60), filled = " + larger + "(address_budgets.filled, " + at + ") RETURNING tokens",
            {kind, address, Decimal(perMinute), Decimal(now)})[0][0]);
        if (left >= least && amount != 0) {
          db.Run("UPDATE address_budgets SET tokens = tokens - CAST($3 AS DOUBLE PRECISION)"
                 " WHERE kind = $1 AND address = $2",
                 {kind, address, Decimal(amount)});
        }
        db.Commit();
        return left;
      } catch (...) {
        db.Rollback();
        throw;
      }
    });
  }

  void CheckHealth() override {
    With([&](SqlConnection& db) {
      db.Probe();
      return true;
    });
    const int64_t fullAt = diskFullAt_;
    if (fullAt != 0 && SecondsNow() - fullAt < kDiskFullShownSeconds) {
      throw StoreError("a write found the database's disk full " + std::to_string(SecondsNow() - fullAt) + " s ago",
                       StoreFault::DiskFull);
    }
  }

 private:
  // 1 for the best game.
  static int64_t RankOf(SqlConnection& db, const KeptGame& game) {
    // The runs of higher scores, then two ranges of the ranking's index: the higher scores in
    // the game's own run, and the equal ones kept before it.
    const int64_t bucket = BucketOf(game.score);
    const int64_t higherRuns = std::stoll(
        db.Run("SELECT coalesce(sum(games), 0) FROM score_buckets WHERE bucket > $1", {bucket})[0][0]);
    const int64_t above = std::stoll(db.Run("SELECT count(*) FROM games WHERE score > $1 AND score <= $2 AND " + kShown,
                                            {int64_t{game.score}, HighestIn(bucket)})[0][0]);
    const int64_t level = std::stoll(db.Run("SELECT count(*) FROM games WHERE score = $1 AND id < $2 AND " + kShown,
                                            {int64_t{game.score}, game.id})[0][0]);
    return higherRuns + above + level + 1;
  }

  // A number as the statements take it: text, cast by the statement, exact to the microsecond.
  static std::string Decimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
  }

  static const char* KindWord(BanKind kind) { return kind == BanKind::Name ? "name" : "address"; }

  static KeptGame Shown(SqlConnection& db, int64_t id) {
    const std::vector<SqlRow> rows = db.Run("SELECT " + kColumns + " FROM games WHERE id = $1", {id});
    if (rows.empty()) throw AdminRefusal("no game " + std::to_string(id));
    KeptGame game = GameOf(rows[0]);
    if (!game.hiddenReason.empty()) throw AdminRefusal("game " + std::to_string(id) + " is hidden already");
    return game;
  }

  static void CountInBucket(SqlConnection& db, int64_t score) {
    db.Run("INSERT INTO score_buckets (bucket, games) VALUES ($1, 1)"
           " ON CONFLICT (bucket) DO UPDATE SET games = score_buckets.games + 1",
           {BucketOf(score)});
  }

  static void Audit(SqlConnection& db, const std::string& who, const std::string& action,
                    const std::string& subject, const std::string& reason) {
    db.Run("INSERT INTO audit (at, who, action, subject, reason) VALUES ($1, $2, $3, $4, $5)",
           {static_cast<int64_t>(std::time(nullptr)), who, action, subject, reason});
  }

  // One operator's change and its line of the log, in one transaction.
  template <typename Work>
  void Change(const std::string& who, const std::string& action, const std::string& subject,
              const std::string& reason, Work work) {
    With([&](SqlConnection& db) {
      db.Begin();
      try {
        work(db);
        Audit(db, who, action, subject, reason);
        db.Commit();
      } catch (...) {
        db.Rollback();
        throw;
      }
      return true;
    });
  }

  static int64_t Total(SqlConnection& db) {
    return std::stoll(db.Run("SELECT coalesce(sum(games), 0) FROM score_buckets", {})[0][0]);
  }

  static std::optional<KeptGame> ByKey(SqlConnection& db, const std::string& key) {
    const std::vector<SqlRow> rows = db.Run("SELECT " + kColumns + " FROM games WHERE game_key = $1", {key});
    if (rows.empty()) return std::nullopt;
    return GameOf(rows[0]);
  }

  static int64_t ProofId(SqlConnection& db, const ProofToKeep& proof) {
    std::vector<SqlRow> rows = db.Run(
        "INSERT INTO proofs (hash, text, received_at) VALUES ($1, $2, $3)"
        " ON CONFLICT (hash) DO NOTHING RETURNING id",
        {proof.hash, SqlBytes{proof.text}, proof.receivedAt});
    if (rows.empty()) rows = db.Run("SELECT id FROM proofs WHERE hash = $1", {proof.hash});
    return std::stoll(rows.at(0).at(0));
  }

  // Keeps the game, and says so; false, with the game as kept, where another transaction kept
  // it since this one looked (a proof of the same session under way at the same time).
  static bool Insert(SqlConnection& db, int64_t proofId, const ProvenGame& game, int64_t receivedAt,
                     const std::string& hold, KeptGame* kept) {
    std::vector<SqlParam> values = {proofId, game.key, game.name, int64_t{game.score}};
    for (const int32_t count : game.swats) values.emplace_back(int64_t{count});
    values.insert(values.end(), {int64_t{game.stage}, static_cast<int64_t>(game.flip), receivedAt});
    const std::vector<SqlRow> rows = db.Run(
        "INSERT INTO games (proof_id, game_key, name, score, swats_0, swats_1, swats_2, swats_3,"
        " swats_4, swats_5, swats_6, swats_7, stage, flips, received_at)"
        " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15)"
        " ON CONFLICT (game_key) DO NOTHING RETURNING id",
        values);
    if (rows.empty()) {
      *kept = ByKey(db, game.key).value();
      return false;
    }
    *kept = KeptGame{game};
    kept->id = std::stoll(rows[0][0]);
    kept->receivedAt = receivedAt;
    if (hold.empty()) {
      CountInBucket(db, game.score);
    } else {
      db.Run("UPDATE games SET hidden_reason = $1, held = 1 WHERE id = $2", {hold, kept->id});
      Audit(db, "server", "hold", std::to_string(kept->id), hold);
      kept->hiddenReason = hold;
      kept->held = true;
    }
    return true;
  }

  // Runs `work` as With does, its every read at one moment.
  template <typename Work>
  std::invoke_result_t<Work, SqlConnection&> Snapshot(Work work) {
    return With([&](SqlConnection& db) {
      db.BeginSnapshot();
      try {
        auto result = work(db);
        db.Commit();
        return result;
      } catch (...) {
        db.Rollback();
        throw;
      }
    });
  }

  // Runs `work` on a connection of its own for the while. A connection found broken is made
  // again; a dropped one met in the middle of the work is made again and the work tried once
  // more, unless it failed while committing (what it wrote may have been kept).
  template <typename Work>
  std::invoke_result_t<Work, SqlConnection&> With(Work work) {
    std::unique_ptr<SqlConnection> connection;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      free_.wait(lock, [&] { return !idle_.empty(); });
      connection = std::move(idle_.back());
      idle_.pop_back();
    }
    struct Return {
      SqlGameStore& store;
      std::unique_ptr<SqlConnection>& connection;
      ~Return() {
        std::lock_guard<std::mutex> lock(store.mutex_);
        store.idle_.push_back(std::move(connection));  // empty when it could not be made again
        store.free_.notify_one();
      }
    } giveBack{*this, connection};
    for (int attempt = 1;; ++attempt) {
      if (!connection || connection->Broken()) {
        connection.reset();
        connection = open_();
        MigrateSchema(*connection);  // a file put back from an older copy, or made afresh
      }
      try {
        return work(*connection);
      } catch (const StoreError& fault) {
        if (attempt == 2 || !connection->Broken() || connection->InDoubt()) throw;
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable free_;
  std::vector<std::unique_ptr<SqlConnection>> idle_;
  std::function<std::unique_ptr<SqlConnection>()> open_;
  // When a write last failed for a full disk (0: not since the latest write kept): the health
  // check says so for a minute, as a database that cannot see its own disk gives no other sign.
  std::atomic<int64_t> diskFullAt_{0};
  std::atomic<uint64_t> bucketTakes_{0};
};

}  // namespace

std::unique_ptr<GameStore> OpenGameStore(const std::string& address) {
  const std::string sqlite = "sqlite:";
  if (address.rfind(sqlite, 0) == 0 && address.size() > sqlite.size()) {
    const std::string path = address.substr(sqlite.size());
    return std::make_unique<SqlGameStore>([path] { return OpenSqlite(path); });
  }
  if (address.rfind("postgresql://", 0) == 0 || address.rfind("postgres://", 0) == 0) {
    return std::make_unique<SqlGameStore>([address] { return OpenPostgres(address); });
  }
  throw StoreError(QuotedText(address) + " is no database address: sqlite:PATH or postgresql://...");
}
