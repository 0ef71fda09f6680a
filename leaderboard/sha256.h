#pragma once

#include <string>

// The SHA-256 of `bytes`, in lower-case hexadecimal.
std::string Sha256Hex(const std::string& bytes);
