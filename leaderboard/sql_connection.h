// One connection to a database, as the store needs it: transactions and statements with
// parameters ($1, $2, ... in both dialects), every value read back as text (bytes as they are).
// SQLite and PostgreSQL each have one; one thread uses a connection at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

enum class SqlDialect { Sqlite, Postgres };

struct SqlBytes {
  std::string bytes;  // any bytes, a NUL among them
};
using SqlParam = std::variant<int64_t, std::string, SqlBytes>;
using SqlRow = std::vector<std::string>;

class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  virtual SqlDialect Dialect() const = 0;
  // A transaction that writes: SQLite takes its write lock at once, so that two writers never
  // deadlock on upgrading a read.
  virtual void Begin() = 0;
  // A transaction that only reads, and whose every statement sees the same moment.
  virtual void BeginSnapshot() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;  // never throws
  // Runs one statement; throws StoreError with the database's reason.
  virtual std::vector<SqlRow> Run(const std::string& statement,
                                  const std::vector<SqlParam>& params = {}) = 0;
  // True once the connection can no longer serve (the server restarted or dropped it, the file
  // was replaced or removed): the store opens a new one in its place.
  virtual bool Broken() const = 0;
  // True when the latest failure came while committing: the transaction may have been kept,
  // so it is not tried again.
  virtual bool InDoubt() const = 0;
  // A cheap look: throws StoreError while the database cannot be used (its disk full, where
  // the connection can see the disk).
  virtual void Probe() = 0;
};

// Open or create the SQLite file at `path` (its folder must exist).
std::unique_ptr<SqlConnection> OpenSqlite(const std::string& path);
// A copy of the SQLite file at `path`, whole and from one moment, made at `to` while others
// write it; throws StoreError with the reason.
void BackupSqlite(const std::string& path, const std::string& to);
// Connect as libpq does with `address` ("postgresql://" alone takes its environment).
std::unique_ptr<SqlConnection> OpenPostgres(const std::string& address);
