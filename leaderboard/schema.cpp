#include "leaderboard/schema.h"

#include <string>
#include <vector>

#include "leaderboard/game_store.h"

namespace {

// Each step's statements, with {id} and {bytes} written in the dialect's words.
const std::vector<std::vector<std::string>> kSteps = {
    // 1: proofs, the games they bring (each once), and which games each proof brought.
    {"CREATE TABLE proofs (id {id}, hash TEXT NOT NULL UNIQUE, text {bytes} NOT NULL,"
     " received_at BIGINT NOT NULL)",
     "CREATE TABLE games (id {id}, proof_id BIGINT NOT NULL REFERENCES proofs (id),"
     " game_key TEXT NOT NULL UNIQUE, name TEXT NOT NULL, score INTEGER NOT NULL,"
     " swats_0 INTEGER NOT NULL, swats_1 INTEGER NOT NULL, swats_2 INTEGER NOT NULL,"
     " swats_3 INTEGER NOT NULL, swats_4 INTEGER NOT NULL, swats_5 INTEGER NOT NULL,"
     " swats_6 INTEGER NOT NULL, swats_7 INTEGER NOT NULL, stage INTEGER NOT NULL,"
     " flips BIGINT NOT NULL, received_at BIGINT NOT NULL)",
     "CREATE INDEX games_by_rank ON games (score DESC, id)",
     "CREATE TABLE proof_games (proof_id BIGINT NOT NULL REFERENCES proofs (id),"
     " game_id BIGINT NOT NULL REFERENCES games (id), PRIMARY KEY (proof_id, game_id))"},
    // 2: how many games score in each run of 1024 points, so that a rank or a page far down a
    // million games counts a few hundred rows, not all those above it.
    {"CREATE TABLE score_buckets (bucket BIGINT PRIMARY KEY, games BIGINT NOT NULL)",
     "INSERT INTO score_buckets (bucket, games) SELECT score / 1024, count(*) FROM games GROUP BY score / 1024"},
    // 3: a game is keyed by its play as the verifier ran it, no longer by its proof's text. The
    // games kept before keep their rows under their old keys, marked so that no new key meets
    // them.
    {"UPDATE games SET game_key = 'text:' || game_key"},
    // 4: an operator's hand: games taken off the table (with why), names and addresses banned,
    // and the log of every such change; the games by their time, for a week's table; and the
    // addresses' budgets.
    {"ALTER TABLE games ADD COLUMN hidden_reason TEXT", "CREATE INDEX games_by_time ON games (received_at)",
     "CREATE TABLE bans (kind TEXT NOT NULL, subject TEXT NOT NULL, reason TEXT NOT NULL,"
     " PRIMARY KEY (kind, subject))",
     "CREATE TABLE audit (id {id}, at BIGINT NOT NULL, who TEXT NOT NULL, action TEXT NOT NULL,"
     " subject TEXT NOT NULL, reason TEXT NOT NULL)",
     // Each address's buckets (submissions, checking time), shared by the servers on a database.
     "CREATE TABLE address_budgets (kind TEXT NOT NULL, address TEXT NOT NULL,"
     " tokens DOUBLE PRECISION NOT NULL, filled DOUBLE PRECISION NOT NULL, PRIMARY KEY (kind, address))"},
    // 5: a player's games, best first, for the player's page.
    {"CREATE INDEX games_by_name ON games (name, score DESC, id)"},
    // 6: a game the server's review held is hidden (hidden_reason says why) and marked held,
    // until an operator restores it.
    {"ALTER TABLE games ADD COLUMN held INTEGER NOT NULL DEFAULT 0"},
};

std::string InDialect(std::string statement, SqlDialect dialect) {
  const auto put = [&](const std::string& word, const std::string& sqlite, const std::string& postgres) {
    for (size_t at; (at = statement.find(word)) != std::string::npos;) {
      statement.replace(at, word.size(), dialect == SqlDialect::Sqlite ? sqlite : postgres);
    }
  };
  put("{id}", "INTEGER PRIMARY KEY", "BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY");
  put("{bytes}", "BLOB", "BYTEA");
  return statement;
}

int StoredVersion(SqlConnection& connection) {
  const std::vector<SqlRow> rows = connection.Run("SELECT version FROM schema_version");
  return rows.empty() ? 0 : std::stoi(rows[0][0]);
}

}  // namespace

int NewestSchemaVersion() { return static_cast<int>(kSteps.size()); }

int SchemaVersionOf(SqlConnection& connection) {
  const bool sqlite = connection.Dialect() == SqlDialect::Sqlite;
  const std::vector<SqlRow> found = connection.Run(
      sqlite ? "SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'"
             : "SELECT tablename FROM pg_tables WHERE schemaname = current_schema()"
               " AND tablename = 'schema_version'");
  return found.empty() ? 0 : StoredVersion(connection);
}

void MigrateSchema(SqlConnection& connection) {
  connection.Begin();
  try {
    // Two servers starting on one database take turns.
    if (connection.Dialect() == SqlDialect::Postgres) {
      connection.Run("SELECT pg_advisory_xact_lock(7262537)");
    }
    connection.Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    if (connection.Run("SELECT version FROM schema_version").empty()) {
      connection.Run("INSERT INTO schema_version (version) VALUES (0)");
    }
    const int version = StoredVersion(connection);
    if (version > NewestSchemaVersion()) {
      throw StoreError("the database's schema is at version " + std::to_string(version) +
                       ", newer than this server's " + std::to_string(NewestSchemaVersion()) +
                       " (a newer zimbrel-leaderboard made it)");
    }
    for (int step = version + 1; step <= NewestSchemaVersion(); ++step) {
      for (const std::string& statement : kSteps[static_cast<size_t>(step - 1)]) {
        connection.Run(InDialect(statement, connection.Dialect()));
      }
      connection.Run("UPDATE schema_version SET version = $1", {int64_t{step}});
    }
    connection.Commit();
  } catch (...) {
    connection.Rollback();
    throw;
  }
}
