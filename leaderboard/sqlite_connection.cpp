#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <utility>

#include "leaderboard/game_store.h"
#include "leaderboard/sql_connection.h"

namespace {

class SqliteConnection final : public SqlConnection {
 public:
  explicit SqliteConnection(const std::string& path) : path_(path) {
    const int opened = sqlite3_open_v2(path.c_str(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                       nullptr);
    if (opened != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
      sqlite3_close(db_);
      db_ = nullptr;
      throw StoreError(path + ": " + why);
    }
    struct stat file {};
    if (stat(path.c_str(), &file) == 0) opened_ = {file.st_dev, file.st_ino};
    // Writers wait for each other rather than fail; readers never wait for a writer (WAL); a
    // row answered as kept survives the server's crash and the machine's (FULL).
    sqlite3_busy_timeout(db_, 10000);
    Run("PRAGMA journal_mode = WAL", {});
    Run("PRAGMA synchronous = FULL", {});
    Run("PRAGMA foreign_keys = ON", {});
  }
  ~SqliteConnection() override { sqlite3_close_v2(db_); }

  SqlDialect Dialect() const override { return SqlDialect::Sqlite; }
  void Begin() override { Run("BEGIN IMMEDIATE", {}); }
  // Under WAL a deferred transaction reads from the moment of its first read until it ends.
  void BeginSnapshot() override { Run("BEGIN", {}); }
  void Commit() override {
    committing_ = true;
    Run("COMMIT", {});
    committing_ = false;
  }
  void Rollback() override {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }

  std::vector<SqlRow> Run(const std::string& statement, const std::vector<SqlParam>& params) override {
    inDoubt_ = false;
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db_, statement.c_str(), static_cast<int>(statement.size()), &prepared,
                           nullptr) != SQLITE_OK) {
      Fail();
    }
    std::vector<SqlRow> rows;
    try {
      for (size_t i = 0; i < params.size(); ++i) Bind(prepared, i + 1, params[i]);
      for (;;) {
        const int step = sqlite3_step(prepared);
        if (step == SQLITE_DONE) break;
        if (step != SQLITE_ROW) Fail();
        SqlRow row;
        for (int column = 0; column < sqlite3_column_count(prepared); ++column) {
          const auto* bytes = static_cast<const char*>(sqlite3_column_blob(prepared, column));
          row.emplace_back(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(prepared, column)));
        }
        rows.push_back(std::move(row));
      }
    } catch (...) {
      sqlite3_finalize(prepared);
      throw;
    }
    sqlite3_finalize(prepared);
    return rows;
  }

  // The file this connection writes is no longer the one at its path (removed, or put back
  // from a copy), or it met an error of the disk that a fresh handle may not.
  bool Broken() const override {
    struct stat file {};
    return ioFailed_ || stat(path_.c_str(), &file) != 0 || std::pair(file.st_dev, file.st_ino) != opened_;
  }
  bool InDoubt() const override { return inDoubt_; }

  // Its disk full, before a write says so; then a read.
  void Probe() override {
    const std::string folder = path_.substr(0, path_.find_last_of('/') + 1);
    struct statvfs disk {};
    if (statvfs(folder.empty() ? "." : folder.c_str(), &disk) == 0 && disk.f_bavail == 0) {
      throw StoreError(path_ + ": no space left on its disk", StoreFault::DiskFull);
    }
    Run("SELECT 1", {});
  }

 private:
  // $1, $2, ... by name, as PostgreSQL numbers them.
  void Bind(sqlite3_stmt* prepared, size_t number, const SqlParam& value) {
    const int index = sqlite3_bind_parameter_index(prepared, ("$" + std::to_string(number)).c_str());
    if (index == 0) return;  // a value the statement does not use
    int bound = SQLITE_OK;
    if (const auto* whole = std::get_if<int64_t>(&value)) {
      bound = sqlite3_bind_int64(prepared, index, *whole);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
      bound = sqlite3_bind_text64(prepared, index, text->data(), text->size(), SQLITE_TRANSIENT,
                                  SQLITE_UTF8);
    } else {
      const std::string& bytes = std::get<SqlBytes>(value).bytes;
      bound = sqlite3_bind_blob64(prepared, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
    if (bound != SQLITE_OK) Fail();
  }

  [[noreturn]] void Fail() {
    const int code = sqlite3_errcode(db_);
    const bool full = code == SQLITE_FULL || sqlite3_system_errno(db_) == ENOSPC;
    ioFailed_ = ioFailed_ || code == SQLITE_IOERR || code == SQLITE_CANTOPEN || code == SQLITE_NOTADB;
    inDoubt_ = committing_;
    committing_ = false;
    throw StoreError(path_ + ": " + sqlite3_errmsg(db_), full ? StoreFault::DiskFull : StoreFault::Unreachable);
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  std::pair<dev_t, ino_t> opened_{};
  bool ioFailed_ = false;
  bool committing_ = false;
  bool inDoubt_ = false;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenSqlite(const std::string& path) {
  return std::make_unique<SqliteConnection>(path);
}

void BackupSqlite(const std::string& path, const std::string& to) {
  sqlite3* from = nullptr;
  sqlite3* copy = nullptr;
  const auto fail = [&](const std::string& why) {
    sqlite3_close(from);
    sqlite3_close(copy);
    throw StoreError(why);
  };
  if (sqlite3_open_v2(path.c_str(), &from, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    fail(path + ": " + sqlite3_errmsg(from));
  }
  if (sqlite3_open_v2(to.c_str(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    fail(to + ": " + sqlite3_errmsg(copy));
  }
  // One step, the whole file from one moment of it; a writer holding the lock is waited for.
  sqlite3_busy_timeout(from, 10000);
  sqlite3_backup* backup = sqlite3_backup_init(copy, "main", from, "main");
  if (!backup) fail(to + ": " + sqlite3_errmsg(copy));
  int step = SQLITE_OK;
  while ((step = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || step == SQLITE_LOCKED) sqlite3_sleep(50);
  sqlite3_backup_finish(backup);
  if (step != SQLITE_DONE) fail(to + ": " + sqlite3_errstr(step));
  sqlite3_close(from);
  sqlite3_close(copy);
}
