#include "leaderboard/admin_command.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "leaderboard/client_address.h"
#include "leaderboard/game_store.h"
#include "leaderboard/game_views.h"
#include "leaderboard/log_text.h"
#include "leaderboard/sql_connection.h"

namespace {

// Who runs the command, for the log: through sudo, the user who asked for it.
std::string Operator() {
  const char* asked = std::getenv("SUDO_USER");
  const passwd* user = getpwuid(getuid());
  const std::string name = user ? user->pw_name : "uid " + std::to_string(getuid());
  return getuid() == 0 && asked && *asked ? std::string(asked) + " (as " + name + ")" : name;
}

// The command's words: its operands, and the value of each option it takes.
struct Words {
  std::vector<std::string> operands;
  std::optional<std::string> reason, name, limit;
  bool held = false;
};

bool ReadWords(const std::vector<std::string>& arguments, size_t from, Words* words, std::string* fault) {
  for (size_t i = from; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word == "--held") {
      words->held = true;
      continue;
    }
    std::optional<std::string>* option = word == "--reason" ? &words->reason
                                         : word == "--name" ? &words->name
                                         : word == "--limit" ? &words->limit
                                                             : nullptr;
    if (!option && word.starts_with("--")) {
      *fault = "unknown option " + Printable(word, 40);
      return false;
    }
    if (!option) {
      words->operands.push_back(word);
    } else if (i + 1 < arguments.size()) {
      *option = arguments[++i];
    } else {
      *fault = word + " needs a value";
      return false;
    }
  }
  return true;
}

int Refused(const std::string& why) {
  std::fprintf(stderr, "zimbrel-leaderboard admin: %s\n", why.c_str());
  return 2;
}

// A whole number of one to 18 digits.
std::optional<int64_t> Whole(const std::string& text) {
  if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), ::isdigit)) return std::nullopt;
  return std::stoll(text);
}

void PrintGame(const KeptGame& game) {
  std::printf("%lld %s %d stage %d %s%s\n", static_cast<long long>(game.id), Printable(game.name, 3).c_str(),
              game.score, game.stage, UtcText(game.receivedAt).c_str(),
              game.hiddenReason.empty() ? ""
                                        : ((game.held ? " held: " : " hidden: ") + Printable(game.hiddenReason)).c_str());
}

int Run(GameStore& store, const std::string& database, const std::string& command, const Words& words) {
  const std::string who = Operator();
  const size_t operands = words.operands.size();
  const bool reasoned = words.reason && !words.reason->empty();
  if (words.held && command != "list") return Refused("--held is list's alone");
  if (command == "list" && operands == 0) {
    const std::optional<int64_t> limit = Whole(words.limit.value_or("20"));
    if (!limit || *limit < 1) return Refused("--limit takes a whole number, 1 or more");
    for (const KeptGame& game : store.Newest(words.name.value_or(""), words.held, *limit)) PrintGame(game);
    return 0;
  }
  if (command == "log" && operands == 0) {
    for (const AuditEntry& entry : store.AuditLog()) {
      std::printf("%s %s %s %s%s\n", UtcText(entry.at).c_str(), Printable(entry.who, 40).c_str(), entry.action.c_str(),
                  Printable(entry.subject, 60).c_str(), entry.reason.empty() ? "" : (": " + Printable(entry.reason)).c_str());
    }
    return 0;
  }
  if ((command == "hide" && operands == 1 && reasoned) || (command == "restore" && operands == 1)) {
    const std::optional<int64_t> id = Whole(words.operands[0]);
    if (!id) return Refused(Printable(words.operands[0], 40) + " is no game's id");
    if (command == "hide") {
      store.Hide(*id, *words.reason, who);
    } else {
      store.Restore(*id, who);
    }
    std::printf("game %lld %s\n", static_cast<long long>(*id), command == "hide" ? "hidden" : "restored");
    return 0;
  }
  const bool ban = command == "ban-name" || command == "ban-address";
  const bool unban = command == "unban-name" || command == "unban-address";
  if ((ban && operands == 1 && reasoned) || (unban && operands == 1)) {
    const BanKind kind = command.ends_with("name") ? BanKind::Name : BanKind::Address;
    std::string subject = words.operands[0];
    if (kind == BanKind::Address) {
      const std::optional<std::string> address = CanonicalAddress(subject);
      if (!address) return Refused(Printable(subject, 60) + " is no IPv4 or IPv6 address");
      subject = *address;
    } else if (subject.empty() || subject.size() > 3) {
      return Refused(Printable(subject, 40) + " is no name: a name has one to three characters");
    }
    if (ban) {
      store.Ban(kind, subject, *words.reason, who);
    } else {
      store.Unban(kind, subject, who);
    }
    std::printf("%s %s\n", Printable(subject, 60).c_str(), ban ? "banned" : "no longer banned");
    return 0;
  }
  if (command == "backup" && operands == 1) {
    if (!database.starts_with("sqlite:")) {
      std::printf("a PostgreSQL database is backed up with its own tools, while the server runs:\n"
                  "  pg_dump --format=custom --file=%s DATABASE\n"
                  "and restored into an empty database with pg_restore --dbname=DATABASE %s\n",
                  words.operands[0].c_str(), words.operands[0].c_str());
      return 0;
    }
    if (std::filesystem::exists(words.operands[0])) {
      return Refused(Printable(words.operands[0]) + " exists already: a backup is made in a new file");
    }
    BackupSqlite(database.substr(7), words.operands[0]);
    std::printf("%s: a copy of %s\n", words.operands[0].c_str(), database.substr(7).c_str());
    return 0;
  }
  return Refused("the command is not understood\n" + AdminUsageText());
}

}  // namespace

std::string AdminUsageText() {
  return "Usage: zimbrel-leaderboard admin --database DATABASE COMMAND\n"
         "  list [--held] [--name NAME] [--limit N]\n"
         "                                    the newest games, hidden ones too; --held: only those\n"
         "                                    the server holds for review, until restored\n"
         "  hide ID --reason TEXT             take a game off the world's table\n"
         "  restore ID                        put it back\n"
         "  ban-name NAME --reason TEXT       keep no game of that name\n"
         "  ban-address ADDRESS --reason TEXT refuse every submission from there (403)\n"
         "  unban-name NAME, unban-address ADDRESS\n"
         "  log                               every change and every game held, when, by whom and why\n"
         "  backup PATH                       a copy of a SQLite database, taken while it runs\n";
}

int RunAdmin(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3 || arguments[0] != "--database") return Refused("the command is not understood\n" + AdminUsageText());
  const std::string& database = arguments[1];
  // A mistyped path must not become a new, empty table.
  if (database.starts_with("sqlite:") && !std::filesystem::is_regular_file(database.substr(7))) {
    return Refused(Printable(database.substr(7)) + ": no such database");
  }
  Words words;
  std::string fault;
  if (!ReadWords(arguments, 3, &words, &fault)) return Refused(fault);
  try {
    const std::unique_ptr<GameStore> store = OpenGameStore(database);
    return Run(*store, database, arguments[2], words);
  } catch (const AdminRefusal& refusal) {
    return Refused(refusal.what());
  } catch (const StoreError& failure) {
    std::fprintf(stderr, "zimbrel-leaderboard admin: %s\n", failure.what());
    return 1;
  }
}
