#include "leaderboard/sha256.h"

#include <openssl/evp.h>

struct Sha256::Context {
  EVP_MD_CTX* digest = EVP_MD_CTX_new();
  ~Context() { EVP_MD_CTX_free(digest); }
};

Sha256::Sha256() : context_(new Context) { EVP_DigestInit_ex(context_->digest, EVP_sha256(), nullptr); }

Sha256::~Sha256() = default;

void Sha256::Add(const std::string& bytes) { EVP_DigestUpdate(context_->digest, bytes.data(), bytes.size()); }

std::string Sha256::HexSoFar() const {
  EVP_MD_CTX* copy = EVP_MD_CTX_new();
  EVP_MD_CTX_copy_ex(copy, context_->digest);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(copy, digest, &size);
  EVP_MD_CTX_free(copy);
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 15];
  }
  return hex;
}

std::string Sha256Hex(const std::string& bytes) {
  Sha256 sha;
  sha.Add(bytes);
  return sha.HexSoFar();
}
