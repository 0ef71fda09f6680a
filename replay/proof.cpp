#include "replay/proof.h"

#include <charconv>
#include <sstream>

#include "platform/options/quoted_text.h"
#include "platform/seams/flip_observer.h"

namespace {

constexpr char kProgramKey[] = "program:";
constexpr char kProvesKey[] = "proves:";

std::string SwatsText(const std::array<int32_t, 8>& swats) {
  std::string text;
  for (size_t k = 0; k < swats.size(); ++k) text += (k ? "," : "") + std::to_string(swats[k]);
  return text;
}

template <typename Number>
bool Whole(const std::string& word, Number* number) {
  const char* end = word.data() + word.size();
  const auto [stop, fault] = std::from_chars(word.data(), end, *number);
  return fault == std::errc() && stop == end;
}

bool ReadSwats(const std::string& word, std::array<int32_t, 8>* swats) {
  std::istringstream parts(word);
  std::string part;
  size_t k = 0;
  while (std::getline(parts, part, ',')) {
    if (k >= swats->size() || !Whole(part, &(*swats)[k])) return false;
    ++k;
  }
  return k == swats->size() && word.back() != ',';
}

bool TypableName(const std::string& name) {
  if (name.size() != 3) return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// "K9A score 1200 swats 2,1,0,0,0,0,0,0 stage 1 flip 812"
bool ReadGame(const std::vector<std::string>& words, ProvenGame* game) {
  if (words.size() != 9 || words[1] != "score" || words[3] != "swats" || words[5] != "stage" ||
      words[7] != "flip") {
    return false;
  }
  game->name = words[0];
  return TypableName(game->name) && Whole(words[2], &game->score) &&
         ReadSwats(words[4], &game->swats) && Whole(words[6], &game->stage) &&
         Whole(words[8], &game->flip);
}

std::vector<std::string> WordsOf(const std::string& text) {
  std::istringstream stream(text);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::string ClaimedGameText(const ProvenGame& game) {
  return game.name + " score " + std::to_string(game.score) + " swats " + SwatsText(game.swats) +
         " stage " + std::to_string(game.stage) + " flip " + std::to_string(game.flip);
}

}  // namespace

ProvenGame ProvenGameOf(const NamedGame& named) {
  ProvenGame game;
  game.name = named.name;
  game.score = named.score;
  game.swats = named.swats;
  game.stage = named.stage;
  game.flip = PresentedFlipCount();
  return game;
}

ProofBuild ThisBuild() {
#ifdef __EMSCRIPTEN__
  return ProofBuild::Browser;
#else
  return ProofBuild::Desktop;
#endif
}

const char* BuildName(ProofBuild build) {
  return build == ProofBuild::Browser ? "browser" : "desktop";
}

std::string ProofClaimsText(const std::string& program, ProofBuild build,
                            const std::vector<ProvenGame>& games) {
  std::string text = std::string("# ") + kProgramKey + " " + program + " " + BuildName(build) + "\n";
  for (const ProvenGame& game : games) {
    text += std::string("# ") + kProvesKey + " " + ClaimedGameText(game) + "\n";
  }
  return text;
}

std::optional<ProofClaims> ReadProofClaims(const std::string& text, const std::string& name,
                                           std::string* error) {
  ProofClaims claims;
  std::istringstream lines(text);
  bool headerSeen = false;
  int lineNumber = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    const size_t hash = line.find('#');
    const std::vector<std::string> before = WordsOf(line.substr(0, hash));
    if (!before.empty()) {
      // The claims stand above the first line after the header that is not a comment.
      if (headerSeen) break;
      headerSeen = true;
    }
    if (hash == std::string::npos) continue;
    std::vector<std::string> words = WordsOf(line.substr(hash + 1));
    if (words.empty() || (words[0] != kProgramKey && words[0] != kProvesKey)) continue;
    const std::string key = words[0];
    words.erase(words.begin());
    const std::string where = name + ":" + std::to_string(lineNumber) + ": ";
    if (key == kProgramKey) {
      const std::string build = words.empty() ? "" : words.back();
      if (build != "desktop" && build != "browser") {
        *error = where +
                 "the program line ends with the build it ran on, desktop or browser, not " +
                 QuotedText(build);
        return std::nullopt;
      }
      claims.build = build == "browser" ? ProofBuild::Browser : ProofBuild::Desktop;
      continue;
    }
    ProvenGame game;
    if (!ReadGame(words, &game)) {
      *error = where +
               "a claim reads 'proves: NAME score N swats N,N,N,N,N,N,N,N stage N flip N', "
               "the name three capital letters or digits";
      return std::nullopt;
    }
    claims.games.push_back(game);
    claims.lineNumbers.push_back(lineNumber);
  }
  return claims;
}

std::string ShownGame(const ProvenGame& game) {
  return game.name + " " + Grouped(game.score) + " swats " + SwatsText(game.swats) + " stage " +
         std::to_string(game.stage) + " flip " + std::to_string(game.flip);
}

std::string ClaimsFault(const ProofClaims& claims, const std::vector<ProvenGame>& proven,
                        const std::string& name) {
  for (size_t i = 0; i < claims.games.size() && i < proven.size(); ++i) {
    const ProvenGame& claimed = claims.games[i];
    const ProvenGame& given = proven[i];
    const std::string where = name + ":" + std::to_string(claims.lineNumbers[i]) + ": game " +
                              std::to_string(i + 1) + ": ";
    if (given.name != claimed.name) {
      return where + "the replay gives the name " + given.name + ", the file claims " +
             claimed.name;
    }
    const std::string game = where.substr(0, where.size() - 2) + " (" + given.name + "): ";
    if (given.score != claimed.score) {
      return game + "the replay gives " + Grouped(given.score) + ", the file claims " +
             Grouped(claimed.score);
    }
    if (given.swats != claimed.swats) {
      return game + "the replay gives the swats " + SwatsText(given.swats) + ", the file claims " +
             SwatsText(claimed.swats);
    }
    if (given.stage != claimed.stage) {
      return game + "the replay reaches stage " + std::to_string(given.stage) +
             ", the file claims " + std::to_string(claimed.stage);
    }
    if (given.flip != claimed.flip) {
      return game + "the replay names it at flip " + std::to_string(given.flip) +
             ", the file claims flip " + std::to_string(claimed.flip);
    }
  }
  if (claims.games.size() == proven.size()) return "";
  const int line = claims.games.size() > proven.size()
                       ? claims.lineNumbers[proven.size()]
                       : (claims.lineNumbers.empty() ? 1 : claims.lineNumbers.back());
  return name + ":" + std::to_string(line) + ": the file claims " +
         std::to_string(claims.games.size()) + " game" + (claims.games.size() == 1 ? "" : "s") +
         ", the replay enters " + std::to_string(proven.size()) + " in the table";
}
