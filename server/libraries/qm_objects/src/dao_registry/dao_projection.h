#pragma once

// The description of one data-access record: the relation it reads, its
// columns in order, its display name and whether its rows belong to one
// project; and how it is built from the record's identifier enumeration.

#include <concepts>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace dao_registry {

struct DaoProjection {
  std::string table;
  std::vector<std::string> columns;
  std::string_view name;
  bool scoped = false;

  friend bool operator==(const DaoProjection&, const DaoProjection&) = default;
};

// A record's identifier enumeration, as a type: `Table` is the unquoted text of
// its table or view, `kColumns` the unquoted texts of its own column variants
// in variant order, and `Base`, on a layered record, the enumeration of the
// record it extends.
template <typename I>
concept IdenEnumeration = requires {
  { I::Table } -> std::convertible_to<std::string_view>;
  { *std::begin(I::kColumns) } -> std::convertible_to<std::string_view>;
};

// A data-access record: its identifier enumeration `Iden` and its display name.
template <typename T>
concept DaoRecord = IdenEnumeration<typename T::Iden> && requires {
  { T::kDisplayName } -> std::convertible_to<std::string_view>;
};

namespace detail {

template <typename I>
concept Layered = requires {
  typename I::Base;
};

template <IdenEnumeration I>
constexpr std::size_t column_count() {
  if constexpr (Layered<I>) {
    return column_count<typename I::Base>() + std::size(I::kColumns);
  } else {
    return std::size(I::kColumns);
  }
}

// The innermost base's columns first, then each layer's own, outward; a base's
// `Table` is never a column.
template <IdenEnumeration I>
void append_columns(std::vector<std::string>& columns) {
  if constexpr (Layered<I>) append_columns<typename I::Base>(columns);
  for (const std::string_view column : I::kColumns) columns.emplace_back(column);
}

template <DaoRecord T>
DaoProjection build_projection(bool scoped) {
  using Iden = typename T::Iden;
  DaoProjection projection{std::string(Iden::Table), {}, T::kDisplayName, scoped};
  projection.columns.reserve(column_count<Iden>());
  append_columns<Iden>(projection.columns);
  return projection;
}

}  // namespace detail

// The projection of T, built afresh on each call, for rows that belong to no
// particular project.
template <DaoRecord T>
DaoProjection dao_projection() {
  return detail::build_projection<T>(false);
}

// The projection of T, built afresh on each call, for rows that belong to one
// project.
template <DaoRecord T>
DaoProjection scoped_dao_projection() {
  return detail::build_projection<T>(true);
}

}  // namespace dao_registry
