// A proven game and a check's verdict as JSON: how the check's child hands them to its parent,
// a verifier to the server, and the server to its clients, in one form.
#pragma once

#include <nlohmann/json.hpp>

#include "replay/proof.h"
#include "replay/proof_check.h"

nlohmann::json ProvenGameJson(const ProvenGame& game);
// Throws nlohmann::json::exception when a field is missing or of another type.
ProvenGame ProvenGameOf(const nlohmann::json& value);

nlohmann::json ProofVerdictJson(const ProofVerdict& verdict);
ProofVerdict ProofVerdictOf(const nlohmann::json& value);

// A JSON text as it goes over a pipe or the network: invalid UTF-8 replaced, not thrown.
std::string JsonText(const nlohmann::json& value);
