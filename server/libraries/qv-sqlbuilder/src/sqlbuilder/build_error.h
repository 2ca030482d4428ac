#pragma once
// A statement that cannot be rendered (an ALTER TABLE without any
// alteration, an INSERT whose widths differ, a statement without its table, a
// column without a type) or a faulty SQL template. It is a defect of the code
// that builds the statement, never of input data.

#include <stdexcept>

namespace sqlbuilder {

class BuildError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

}  // namespace sqlbuilder
