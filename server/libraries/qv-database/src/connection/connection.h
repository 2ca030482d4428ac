#pragma once

// An owned PostgreSQL session. Statements run through the extended protocol
// with typed parameters; scripts of several statements run through the simple
// protocol. Every notice and warning the server sends is kept here, so none
// reaches standard error.

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "connection/conninfo.h"
#include "connection/error.h"
#include "connection/param.h"
#include "connection/query_result.h"
#include "result.h"

namespace connection {

// A NOTICE, WARNING, INFO, LOG or DEBUG message of the server.
struct Notice {
  std::string severity;  // in English, as the server names it
  std::string sqlstate;
  std::string message;   // the primary message
};

class Connection {
 public:
  // At most this many notices are kept; later ones are dropped.
  static constexpr std::size_t kMaxNotices = 1000;

  Connection(Connection&&) noexcept = default;
  Connection& operator=(Connection&& other) noexcept {
    connection_ = std::move(other.connection_);  // ends this session while its notices still exist
    notices_ = std::move(other.notices_);
    return *this;
  }

  // Runs one statement (no more) with `params` bound to $1, $2, ... in order.
  qv_common::Result<QueryResult, Error> execute(std::string_view sql, const std::vector<Param>& params = {});

  // Runs a text of any number of statements, without parameters; stops at the
  // first failing statement. Outside a transaction block the text runs as one.
  qv_common::Result<void, Error> execute_script(std::string_view sql);

  // PQTRANS_IDLE outside a transaction, PQTRANS_INTRANS or PQTRANS_INERROR
  // inside one, PQTRANS_UNKNOWN when the session is broken.
  PGTransactionStatusType transaction_status() const { return PQtransactionStatus(connection_.get()); }
  bool healthy() const { return PQstatus(connection_.get()) == CONNECTION_OK; }

  const std::vector<Notice>& notices() const { return *notices_; }
  void clear_notices() { notices_->clear(); }

  // For what this layer does not wrap, such as PQserverVersion.
  PGconn* native() const { return connection_.get(); }

 private:
  friend qv_common::Result<Connection, Error> connect(std::string_view conninfo, const Settings& overrides);

  struct Finish {
    void operator()(PGconn* connection) const { PQfinish(connection); }
  };

  Connection(std::unique_ptr<std::vector<Notice>> notices, std::unique_ptr<PGconn, Finish> connection)
      : notices_(std::move(notices)), connection_(std::move(connection)) {}

  // Declared first so that it outlives the session, which writes into it.
  std::unique_ptr<std::vector<Notice>> notices_;
  std::unique_ptr<PGconn, Finish> connection_;
};

// Opens a session from a key=value or URI connection string, with `overrides`
// in place of its own settings (e.g. {"options", "-csearch_path=s"}). When the
// server certificate is to be verified and no root certificate is named, the
// system's bundle is used. connect_timeout (or PGCONNECT_TIMEOUT) bounds the
// whole attempt.
qv_common::Result<Connection, Error> connect(std::string_view conninfo, const Settings& overrides = {});

}  // namespace connection
