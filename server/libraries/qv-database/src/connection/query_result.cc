#include "connection/query_result.h"

#include <cassert>
#include <charconv>
#include <string_view>

namespace connection {

std::optional<std::string_view> QueryResult::value(int row, int column) const {
  assert(row >= 0 && row < row_count() && column >= 0 && column < column_count());
  if (PQgetisnull(result_.get(), row, column)) return std::nullopt;
  return std::string_view(PQgetvalue(result_.get(), row, column),
                          static_cast<std::size_t>(PQgetlength(result_.get(), row, column)));
}

std::uint64_t QueryResult::rows_affected() const {
  std::string_view tag = PQcmdTuples(result_.get());
  std::uint64_t count = 0;
  std::from_chars(tag.data(), tag.data() + tag.size(), count);
  return count;
}

}  // namespace connection
