#pragma once

#include <memory>
#include <string>

// The SHA-256 of `bytes`, in lower-case hexadecimal.
std::string Sha256Hex(const std::string& bytes);

// The same, of text given piece by piece; the digest of what was added so far may be taken at
// any point, and more added after it.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  void Add(const std::string& bytes);
  std::string HexSoFar() const;

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};
