#pragma once

// The owned result of one statement: its rows as optional texts (the text
// format of every column), the type OID of each column, and the number of
// rows the statement affected.

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace connection {

class QueryResult {
 public:
  explicit QueryResult(PGresult* result) : result_(result) {}

  int row_count() const { return PQntuples(result_.get()); }
  int column_count() const { return PQnfields(result_.get()); }
  Oid column_type(int column) const { return PQftype(result_.get(), column); }
  std::string_view column_name(int column) const { return PQfname(result_.get(), column); }

  // The value's text, valid while this result lives; none for NULL.
  std::optional<std::string_view> value(int row, int column) const;

  // INSERT, UPDATE, DELETE, SELECT and the like: the count the command tag
  // reports; other commands: 0.
  std::uint64_t rows_affected() const;

 private:
  struct Clear {
    void operator()(PGresult* result) const { PQclear(result); }
  };
  std::unique_ptr<PGresult, Clear> result_;
};

}  // namespace connection
