#pragma once

#include <openssl/evp.h>

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Incremental SHA-256.
class Sha256 {
 public:
  Sha256();

  void update(std::string_view bytes);

  // Finishes the computation: 64 lower-case hexadecimal characters. Call it
  // once, after the last update.
  std::string hex_digest();

 private:
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context_;
};

}  // namespace platform
