#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "connection/connection.h"
#include "test_support/database_fixture.h"

namespace connection {
namespace {

class Connect : public test_support::DatabaseFixture {};

using test_support::query_value;

// A TCP socket on 127.0.0.1 that listens but never accepts: the kernel takes
// the connection, the "server" never answers.
class SilentListener {
 public:
  SilentListener() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
    listen(fd_, 4);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentListener() { close(fd_); }
  int port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

TEST_F(Connect, OpensTheDatabaseWithTheOverridesInPlace) {
  auto connection = connect(conninfo(), {{"options", "-csearch_path=custom_path"}, {"application_name", "qv_probe"}});
  ASSERT_TRUE(connection) << describe(connection.error());
  EXPECT_TRUE(connection->healthy());
  EXPECT_EQ(connection->transaction_status(), PQTRANS_IDLE);
  EXPECT_EQ(query_value(*connection, "SELECT current_database()"), database_name());
  EXPECT_EQ(query_value(*connection, "SHOW search_path"), "custom_path");
  EXPECT_EQ(query_value(*connection, "SHOW application_name"), "qv_probe");
}

TEST_F(Connect, FailuresAreConnectErrors) {
  int closed_port;
  {
    SilentListener listener;
    closed_port = listener.port();
  }
  struct {
    std::string conninfo;
    std::string message_part;
  } cases[] = {
      {"host=127.0.0.1 port=" + std::to_string(closed_port) + " connect_timeout=10", "Connection refused"},
      {conninfo_with({{"dbname", "no_such_database"}}), "database \"no_such_database\" does not exist"},
      {"host='unterminated", "does not parse as keyword=value settings"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message_part);
    auto connection = connect(c.conninfo);
    ASSERT_FALSE(connection);
    EXPECT_EQ(connection.error().kind, ErrorKind::Connect);
    EXPECT_NE(connection.error().message.find(c.message_part), std::string::npos) << connection.error().message;
  }
}

TEST_F(Connect, ConnectTimeoutEndsAnAttemptTheServerNeverAnswers) {
  SilentListener listener;
  auto started = std::chrono::steady_clock::now();
  auto connection = connect("host=127.0.0.1 port=" + std::to_string(listener.port()) + " connect_timeout=2");
  auto elapsed = std::chrono::steady_clock::now() - started;
  ASSERT_FALSE(connection);
  EXPECT_EQ(connection.error().kind, ErrorKind::Connect);
  EXPECT_EQ(connection.error().message, "timeout expired");
  EXPECT_LT(elapsed, std::chrono::seconds(10));
}

// SCRAM-SHA-256 is the server's method for every login; members of
// qv_md5_logins log in with MD5 instead (scripts/pg_server.sh). A role whose
// password is stored as MD5 can only log in through the MD5 method.
TEST_F(Connect, ScramAndMd5PasswordLogins) {
  auto admin = connect(conninfo());
  ASSERT_TRUE(admin) << describe(admin.error());
  std::string scram_role = role_name("scram");
  std::string md5_role = role_name("md5");
  auto created = admin->execute_script("CREATE ROLE " + scram_role +
                                       " LOGIN PASSWORD 'scram-secret';"
                                       "SET password_encryption = 'md5';"
                                       "CREATE ROLE " +
                                       md5_role + " LOGIN PASSWORD 'md5-secret' IN ROLE qv_md5_logins;");
  ASSERT_TRUE(created) << describe(created.error());

  struct {
    std::string role;
    std::string password;
    std::string stored_prefix;
    bool logs_in;
  } cases[] = {
      {scram_role, "scram-secret", "SCRAM-SHA-256$", true},
      {md5_role, "md5-secret", "md5", true},
      {scram_role, "wrong", "SCRAM-SHA-256$", false},
      {md5_role, "wrong", "md5", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.role + " " + c.password);
    EXPECT_EQ(query_value(*admin, "SELECT left(rolpassword, length($2)) FROM pg_authid WHERE rolname = $1",
                     {c.role, c.stored_prefix}),
              c.stored_prefix);
    auto login = connect(conninfo_with({{"user", c.role}, {"password", c.password}}));
    ASSERT_EQ(static_cast<bool>(login), c.logs_in);
    if (c.logs_in) {
      EXPECT_EQ(query_value(*login, "SELECT current_user"), c.role);
    } else {
      EXPECT_EQ(login.error().kind, ErrorKind::Connect);
      EXPECT_NE(login.error().message.find("password authentication failed for user \"" + c.role + "\""),
                std::string::npos)
          << login.error().message;
    }
  }
}

TEST_F(Connect, VerifiedTlsWithChannelBinding) {
  ASSERT_FALSE(server_ca().empty()) << "QV_TEST_PG_CA is not set";
  auto connection = connect(conninfo_with(
      {{"host", "localhost"}, {"sslmode", "verify-full"}, {"sslrootcert", server_ca()}, {"channel_binding", "require"}}));
  ASSERT_TRUE(connection) << describe(connection.error());
  EXPECT_EQ(query_value(*connection, "SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"), "t");
}

// The test CA is not among the system's certificates, so the system bundle
// refuses the server; libpq on its own would look for ~/.postgresql/root.crt.
TEST_F(Connect, VerificationWithoutARootCertificateUsesTheSystemBundle) {
  auto connection = connect(conninfo_with({{"host", "localhost"}, {"sslmode", "verify-full"}}));
  ASSERT_FALSE(connection);
  EXPECT_EQ(connection.error().kind, ErrorKind::Connect);
  EXPECT_NE(connection.error().message.find("certificate verify failed"), std::string::npos)
      << connection.error().message;
}

}  // namespace
}  // namespace connection
