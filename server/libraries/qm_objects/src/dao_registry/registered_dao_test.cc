#include "dao_registry/registered_dao.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

namespace dao_registry {
namespace {

struct BookInsertDBIden {
  static constexpr std::string_view Table = "books";
  static constexpr std::array<std::string_view, 2> kColumns = {"id", "title"};
};

struct BookDB {
  struct Iden {
    static constexpr std::string_view Table = "books";
    using Base = BookInsertDBIden;
    static constexpr std::array<std::string_view, 1> kColumns = {"project_id"};
  };
  static constexpr std::string_view kDisplayName = "Book";
};

struct ShelfDB {
  struct Iden {
    static constexpr std::string_view Table = "shelves";
    static constexpr std::array<std::string_view, 1> kColumns = {"id"};
  };
  static constexpr std::string_view kDisplayName = "Shelf";
};

// The only registrations of this test program, in this order.
const DaoRegistration kRegistrations[] = {
    DaoRegistration{{&scoped_dao_projection<BookDB>}},
    DaoRegistration{{&dao_projection<ShelfDB>}},
};

TEST(DaoRegistry, WalkMeetsStartUpRegistrationsLastFirst) {
  const DaoProjection shelf{"shelves", {"id"}, "Shelf", false};
  const DaoProjection book{"books", {"id", "title", "project_id"}, "Book", true};
  EXPECT_EQ(registered_projections(), (std::vector<DaoProjection>{shelf, book}));
}

}  // namespace
}  // namespace dao_registry
