#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

std::string digest_of(const std::vector<std::string>& chunks) {
  Sha256 sha;
  for (const auto& chunk : chunks) sha.update(chunk);
  return sha.hex_digest();
}

TEST(Sha256Test, MatchesKnownVectors) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {{""}, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {{"abc"}, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {{"a", "", "bc"}, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"},
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {{std::string(1000000, 'a')}, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {{std::string("\0", 1)}, "6e340b9cffb37a989ca544e6bb780a2c78901d3fb33738768511a30617afa01d"},
  };
  for (const auto& [chunks, expected] : cases) {
    EXPECT_EQ(digest_of(chunks), expected);
  }
}

}  // namespace
}  // namespace platform
