#include "replay/proof_json.h"

#include <algorithm>
#include <iterator>
#include <utility>

using nlohmann::json;

namespace {

// In the order of ProofOutcome.
const char* const kOutcomeNames[] = {"proven", "not proven", "unreadable", "check failed", "crashed", "stopping"};

// The play's figures by their names in JSON, each read and written the same way.
const std::pair<const char*, int64_t PlayFigures::*> kFigureFields[] = {
    {"mouseReads", &PlayFigures::mouseReads},         {"playMs", &PlayFigures::playMs},
    {"presses", &PlayFigures::presses},               {"shortestPress", &PlayFigures::shortestPress},
    {"oneReadPresses", &PlayFigures::oneReadPresses}, {"longestJump", &PlayFigures::longestJump},
    {"aimedPresses", &PlayFigures::aimedPresses},     {"pressedOnArrival", &PlayFigures::pressedOnArrival},
    {"medianWaitReads", &PlayFigures::medianWaitReads}};

json PlayFiguresJson(const PlayFigures& play) {
  json value = json::object();
  for (const auto& [name, field] : kFigureFields) value[name] = play.*field;
  return value;
}

PlayFigures PlayFiguresOf(const json& value) {
  PlayFigures play;
  for (const auto& [name, field] : kFigureFields) play.*field = value.at(name);
  return play;
}

}  // namespace

json ProvenGameJson(const ProvenGame& game) {
  return {{"name", game.name}, {"score", game.score}, {"swats", game.swats}, {"stage", game.stage},
          {"flips", game.flip}, {"key", game.key}, {"play", PlayFiguresJson(game.play)}};
}

ProvenGame ProvenGameOf(const json& value) {
  ProvenGame game;
  game.name = value.at("name");
  game.score = value.at("score");
  game.swats = value.at("swats");
  game.stage = value.at("stage");
  game.flip = value.at("flips");
  game.key = value.at("key");
  game.play = PlayFiguresOf(value.at("play"));
  return game;
}

json ProofVerdictJson(const ProofVerdict& verdict) {
  json games = json::array();
  for (const ProvenGame& game : verdict.games) games.push_back(ProvenGameJson(game));
  return {{"outcome", kOutcomeNames[static_cast<int>(verdict.outcome)]},
          {"reason", verdict.reason},
          {"claimsGames", verdict.claimsGames},
          {"cpu", verdict.cpuSeconds},
          {"games", games}};
}

ProofVerdict ProofVerdictOf(const json& value) {
  ProofVerdict verdict;
  const std::string outcome = value.at("outcome");
  const auto named = std::find(std::begin(kOutcomeNames), std::end(kOutcomeNames), outcome);
  if (named == std::end(kOutcomeNames)) {
    throw json::other_error::create(501, "no outcome " + outcome, &value);
  }
  verdict.outcome = static_cast<ProofOutcome>(named - std::begin(kOutcomeNames));
  verdict.reason = value.at("reason");
  verdict.claimsGames = value.at("claimsGames");
  verdict.cpuSeconds = value.at("cpu");
  for (const auto& game : value.at("games")) verdict.games.push_back(ProvenGameOf(game));
  return verdict;
}

std::string JsonText(const json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}
