#include "connection/scrub.h"

#include <gtest/gtest.h>

namespace connection {
namespace {

TEST(Scrub, RemovesTheSecretFromEveryTextAlsoAsAQuotedLiteral) {
  Error error{.kind = ErrorKind::Server,
              .message = "failed for s3cr'et\\x",
              .sqlstate = "42501",
              .severity = "ERROR",
              .detail = "s3cr'et\\x",
              .hint = "use s3cr''et\\x",
              .context = "SQL statement \"CREATE ROLE o LOGIN PASSWORD E's3cr''et\\\\x'\""};
  Error scrubbed = scrub(error, "s3cr'et\\x");
  EXPECT_EQ(scrubbed.message, "failed for ********");
  EXPECT_EQ(scrubbed.detail, "********");
  EXPECT_EQ(scrubbed.hint, "use ********");
  EXPECT_EQ(scrubbed.context, "SQL statement \"CREATE ROLE o LOGIN PASSWORD E'********'\"");
  EXPECT_EQ(scrubbed.sqlstate, "42501");
}

TEST(Scrub, AnEmptySecretChangesNothing) {
  Error error = client_error(ErrorKind::Io, "broken");
  EXPECT_EQ(scrub(error, "").message, "broken");
}

}  // namespace
}  // namespace connection
