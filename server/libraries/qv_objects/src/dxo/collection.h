#pragma once

// Data-access records of collections.

#include <string_view>

namespace dxo::collection {

struct ActiveCollectionDBIden {
  static constexpr std::string_view Table = "collections_active";
  static constexpr std::string_view kColumns[] = {
      "id",           "project_id",     "name",     "description", "created_on",          "created_by_id",
      "modified_on",  "modified_by_id", "group_id", "base_path",   "effective_base_path", "collection_type",
      "connection_id"};
};

struct ActiveCollectionDB {
  using Iden = ActiveCollectionDBIden;
  static constexpr std::string_view kDisplayName = "Active Collection";
};

struct ResolvedCollectionDBIden {
  static constexpr std::string_view Table = "collections_resolved";
  using Base = ActiveCollectionDBIden;
  static constexpr std::string_view kColumns[] = {"deleted"};
};

struct ResolvedCollectionDB {
  using Iden = ResolvedCollectionDBIden;
  static constexpr std::string_view kDisplayName = "Resolved Collection";
};

struct ActiveCollectionDBWithNamesIden {
  static constexpr std::string_view Table = "collections__with_names";
  using Base = ActiveCollectionDBIden;
  static constexpr std::string_view kColumns[] = {"project", "created_by", "modified_by", "group"};
};

struct ActiveCollectionDBWithNames {
  using Iden = ActiveCollectionDBWithNamesIden;
  static constexpr std::string_view kDisplayName = "Active Collection";
};

// The columns written on insert; an insert record is never registered.
struct CollectionInsertDBIden {
  static constexpr std::string_view Table = "collections";
  static constexpr std::string_view kColumns[] = {"id",
                                                  "name",
                                                  "description",
                                                  "created_on",
                                                  "created_by_id",
                                                  "modified_on",
                                                  "modified_by_id",
                                                  "name_when_deleted",
                                                  "group_id",
                                                  "base_path",
                                                  "collection_type",
                                                  "connection_id"};
};

struct CollectionDBIden {
  static constexpr std::string_view Table = "collections";
  using Base = CollectionInsertDBIden;
  static constexpr std::string_view kColumns[] = {"project_id"};
};

struct CollectionDB {
  using Iden = CollectionDBIden;
  static constexpr std::string_view kDisplayName = "Collection";
};

}  // namespace dxo::collection
