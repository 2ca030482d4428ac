#include "schema/archive/v4/function_versions.h"

#include "schema/archive/v4/function_patches.h"
#include "schema/archive/v4/functions.h"
#include "schema/render.h"

namespace schema::archive::v4::function_versions {
namespace {

using F = functions::Functions;
using P = function_patches::FunctionPatches;
using sqlbuilder::col;
using sqlbuilder::JoinType;

sqlbuilder::Select function_rows() {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(F::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(render::name_or_id("users", "name", F::Table, F::DefinedById), "defined_by")
      .expr_as(sqlbuilder::val(sqlbuilder::Null{}), "patch_of")
      .from(F::Table)
      .join(JoinType::Left, "collections_resolved",
            col(F::Table, F::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "users", col(F::Table, F::DefinedById).eq(col("users", "id")));
  return query;
}

// Each patch row dressed with the descriptive columns of the version it
// patches ("parent"), lined up with the columns of a function row.
sqlbuilder::Select patch_rows() {
  const auto patch = [](P column) { return col(P::Table, column); };
  const auto parent = [](F column) { return col("parent", column); };
  sqlbuilder::Select query;
  query.expr(patch(P::Id))
      .expr(patch(P::ProjectId))
      .expr(patch(P::CollectionId))
      .expr(parent(F::Name))
      .expr(patch(P::Description))
      .expr(parent(F::Decorator))
      .expr(patch(P::RuntimeValues))
      .expr(patch(P::FunctionId))
      .expr(parent(F::BasePath))
      .expr(parent(F::StageId))
      .expr(parent(F::StageBasePath))
      .expr(parent(F::StorageVersion))
      .expr(patch(P::BundleId))
      .expr(patch(P::Snippet))
      .expr(patch(P::DefinedOn))
      .expr(patch(P::DefinedById))
      .expr(patch(P::Status))
      .expr(parent(F::Connector))
      .expr(parent(F::Connection))
      .expr(parent(F::Enabled))
      .expr(patch(P::ValidTo))
      .expr(col("collections_resolved", "name"))
      .expr(render::name_or_id("users", "name", P::Table, P::DefinedById))
      .expr(patch(P::ParentFunctionVersionId))
      .from(P::Table)
      .join_as(JoinType::Inner, F::Table, "parent", patch(P::ParentFunctionVersionId).eq(parent(F::Id)))
      .join(JoinType::Left, "collections_resolved", patch(P::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "users", patch(P::DefinedById).eq(col("users", "id")));
  return query;
}

}  // namespace

std::vector<sql::view::ViewDef> Defs::create_views() const {
  return {{"function_versions__with_names", function_rows().union_all(patch_rows())}};
}

}  // namespace schema::archive::v4::function_versions
