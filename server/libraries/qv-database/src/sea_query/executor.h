#pragma once

// SeaExecutor: what lends a connection to one statement. Over a pool, each
// statement takes a connection of its own and gives it back when done;
// over a held connection, every statement runs on that connection, inside
// whatever transaction its holder has open. The statement is built when the
// call is made; it runs when the returned task is awaited.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "connection/connection.h"
#include "pool/pool.h"
#include "sea_query/builder.h"
#include "sea_query/op.h"
#include "task.h"

namespace sea_query::executor {

template <typename R>
using Pending = qv_common::Task<op::Result<R>>;

template <typename R>
using Operation = op::Result<R> (*)(std::string sql, std::vector<connection::Param> values,
                                    connection::Connection& connection);

class SeaExecutor {
 public:
  virtual ~SeaExecutor() = default;

  // Runs `operation` on the built statement; its result, or the failure to
  // obtain a connection, unchanged.
  template <typename R, typename Statement>
  Pending<R> run(const Statement& statement, Operation<R> operation) const {
    return Pending<R>([this, built = builder::build_sea_query(statement), operation]() mutable -> op::Result<R> {
      std::optional<op::Result<R>> result;
      auto lent = lend([&](connection::Connection& connection) {
        result = operation(std::move(built.sql), std::move(built.values), connection);
      });
      if (!lent) return qv_common::fail(std::move(lent).error());
      return std::move(*result);
    });
  }

  template <typename T>
  Pending<std::optional<T>> run_fetch_optional_scalar(const sqlbuilder::Select& statement) const {
    return run(statement, &op::fetch_optional_scalar<T>);
  }

  Pending<std::uint64_t> run_execute(const sqlbuilder::Insert& statement) const {
    return run(statement, &op::execute);
  }

 protected:
  // Calls `use` with a connection; fails without calling it when no
  // connection can be had.
  virtual op::Result<void> lend(const std::function<void(connection::Connection&)>& use) const = 0;
};

class PoolExecutor final : public SeaExecutor {
 public:
  // Takes its own handle on the pool's shared sessions.
  explicit PoolExecutor(const pool::Pool& pool) : pool_(pool) {}

 protected:
  op::Result<void> lend(const std::function<void(connection::Connection&)>& use) const override;

 private:
  pool::Pool pool_;
};

class ConnectionExecutor final : public SeaExecutor {
 public:
  explicit ConnectionExecutor(connection::Connection& connection) : connection_(connection) {}

 protected:
  op::Result<void> lend(const std::function<void(connection::Connection&)>& use) const override;

 private:
  connection::Connection& connection_;
};

}  // namespace sea_query::executor
