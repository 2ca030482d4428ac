#pragma once
// What the catalog hands to the database layer: derived objects, version
// steps, and one whole schema version as ready SQL text.

#include <cstdint>
#include <string>
#include <vector>

#include "result.h"
#include "sqlbuilder/index.h"

namespace schema::source {

// A schema version number (0..13 in use).
using Version = std::uint32_t;

// A view, index, statistics object or trigger with its function: the texts
// that create it and the texts that drop it (every drop carries IF EXISTS).
struct Derived {
  std::vector<std::string> create;
  std::vector<std::string> drop;

  friend bool operator==(const Derived&, const Derived&) = default;
};

// One version step from v-1 to v: its statements, ending with the version
// update, and the drops of the objects it retires.
struct Delta {
  std::vector<std::string> up;
  std::vector<std::string> retired;

  friend bool operator==(const Delta&, const Delta&) = default;
};

// One whole schema version.
class SchemaSource {
 public:
  virtual ~SchemaSource() = default;
  virtual Version current_version() const = 0;
  virtual std::vector<std::string> tables() const = 0;
  virtual std::vector<Derived> triggers() const = 0;
  virtual std::vector<Derived> views() const = 0;
  virtual std::vector<Derived> indexes() const = 0;
  virtual std::vector<Derived> statistics() const = 0;
  virtual std::vector<std::string> seeds() const = 0;
  virtual std::vector<std::string> rls() const = 0;
  // The step that takes a database from `target` - 1 to `target`; for a
  // target outside 2..13 the error "No delta migration for version N".
  virtual qv_common::Result<Delta, std::string> delta(Version target) const = 0;
};

// An index create statement as a derived object. Stops the program with
// "every index is named" when the index has no name.
Derived index_derived(const sqlbuilder::IndexCreate& index);

struct DerivedScripts {
  std::vector<std::string> drops;
  std::vector<std::string> creates;
};

// Drops: views, triggers, indexes, statistics, each list last object first.
// Creates: indexes, statistics, triggers, views, each list first object first.
DerivedScripts derived_scripts(const SchemaSource& source);

// What installs a fresh schema, in order: the tables; the creates of the
// triggers, views, indexes and statistics; the seeds; row-level security.
std::vector<std::string> install_batch(const SchemaSource& source);

}  // namespace schema::source
