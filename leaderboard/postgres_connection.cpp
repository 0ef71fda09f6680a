#include <pqxx/pqxx>

#include "leaderboard/game_store.h"
#include "leaderboard/sql_connection.h"

namespace {

constexpr pqxx::oid kByteaType = 17;

// Every value goes as text, bytes in bytea's hex form, so that one call takes any mix of them.
std::string ParamText(const SqlParam& value) {
  if (const auto* whole = std::get_if<int64_t>(&value)) return std::to_string(*whole);
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  static const char kDigits[] = "0123456789abcdef";
  const std::string& bytes = std::get<SqlBytes>(value).bytes;
  std::string hex = "\\x";
  hex.reserve(2 + 2 * bytes.size());
  for (const unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

class PostgresConnection final : public SqlConnection {
 public:
  explicit PostgresConnection(const std::string& address) : connection_(address) {
    connection_.set_variable("client_min_messages", "warning");
  }

  SqlDialect Dialect() const override { return SqlDialect::Postgres; }
  void Begin() override { Guarded([&] { transaction_ = std::make_unique<pqxx::work>(connection_); }); }
  // Read committed would give each statement its own moment.
  void BeginSnapshot() override {
    using Snapshot = pqxx::transaction<pqxx::repeatable_read, pqxx::read_only>;
    Guarded([&] { transaction_ = std::make_unique<Snapshot>(connection_); });
  }
  void Commit() override {
    committing_ = true;
    Guarded([&] {
      transaction_->commit();
      transaction_.reset();
    });
    committing_ = false;
  }
  void Rollback() override {
    try {
      if (transaction_) transaction_->abort();
    } catch (const std::exception&) {
    }
    transaction_.reset();
  }

  std::vector<SqlRow> Run(const std::string& statement, const std::vector<SqlParam>& params) override {
    std::vector<std::string> texts;
    for (const SqlParam& param : params) texts.push_back(ParamText(param));
    std::vector<SqlRow> rows;
    Guarded([&] {
      std::unique_ptr<pqxx::nontransaction> alone;
      pqxx::transaction_base* in = transaction_.get();
      if (!in) {
        alone = std::make_unique<pqxx::nontransaction>(connection_);
        in = alone.get();
      }
      const pqxx::result result = in->exec_params(statement, pqxx::prepare::make_dynamic_params(texts));
      for (const pqxx::row& found : result) {
        SqlRow row;
        for (const pqxx::field& field : found) {
          row.push_back(field.type() == kByteaType ? pqxx::binarystring(field).str() : field.c_str());
        }
        rows.push_back(std::move(row));
      }
    });
    return rows;
  }

  bool Broken() const override { return broken_ || !connection_.is_open(); }
  bool InDoubt() const override { return inDoubt_; }
  void Probe() override { Run("SELECT 1", {}); }

 private:
  template <typename Work>
  void Guarded(Work work) {
    inDoubt_ = false;
    try {
      work();
    } catch (const std::exception& fault) {
      // A connection lost in the middle of a statement does not always say so by its type.
      broken_ = dynamic_cast<const pqxx::broken_connection*>(&fault) ||
                dynamic_cast<const pqxx::in_doubt_error*>(&fault) || !connection_.is_open();
      inDoubt_ = committing_ || dynamic_cast<const pqxx::in_doubt_error*>(&fault);
      transaction_.reset();
      committing_ = false;
      throw StoreError(std::string("PostgreSQL: ") + fault.what(), FaultOf(fault));
    }
  }

  // Out of space: SQLSTATE 53100, or a file the server could not extend or write.
  static StoreFault FaultOf(const std::exception& fault) {
    const auto* sql = dynamic_cast<const pqxx::sql_error*>(&fault);
    const std::string what = fault.what();
    const bool full = (sql && sql->sqlstate() == "53100") || what.find("could not extend file") != std::string::npos ||
                      what.find("No space left on device") != std::string::npos;
    return full ? StoreFault::DiskFull : StoreFault::Unreachable;
  }

  pqxx::connection connection_;
  std::unique_ptr<pqxx::transaction_base> transaction_;
  bool broken_ = false;
  bool committing_ = false;
  bool inDoubt_ = false;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenPostgres(const std::string& address) {
  try {
    return std::make_unique<PostgresConnection>(address);
  } catch (const StoreError&) {
    throw;
  } catch (const std::exception& fault) {
    throw StoreError(std::string("PostgreSQL: ") + fault.what());
  }
}
