#include "platform/sha256.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

// SHA-256 of the built-in provider cannot fail short of memory exhaustion;
// a digest that silently went wrong would be worse than stopping.
void check(int ok, const char* step) {
  if (ok == 1) return;
  std::fprintf(stderr, "SHA-256 %s failed\n", step);
  std::abort();
}

}  // namespace

Sha256::Sha256() : context_(EVP_MD_CTX_new(), &EVP_MD_CTX_free) {
  check(context_ != nullptr ? 1 : 0, "allocation");
  check(EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr), "initialisation");
}

void Sha256::update(std::string_view bytes) {
  check(EVP_DigestUpdate(context_.get(), bytes.data(), bytes.size()), "update");
}

std::string Sha256::hex_digest() {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest;
  unsigned int length = 0;
  check(EVP_DigestFinal_ex(context_.get(), digest.data(), &length), "finalisation");
  static constexpr char hex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(hex[digest[i] >> 4]);
    text.push_back(hex[digest[i] & 0xf]);
  }
  return text;
}

}  // namespace platform
