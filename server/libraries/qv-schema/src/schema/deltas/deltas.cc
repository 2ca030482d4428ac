#include "schema/deltas/deltas.h"

#include "schema/deltas/v10_to_v12.h"
#include "schema/deltas/v12_to_v13.h"
#include "schema/deltas/v1_to_v3.h"
#include "schema/deltas/v3_to_v4.h"
#include "schema/deltas/v4_to_v5.h"
#include "schema/deltas/v5_to_v7.h"
#include "schema/deltas/v7_to_v8.h"
#include "schema/deltas/v8_to_v9.h"
#include "schema/deltas/v9_to_v10/migration.h"

namespace schema::deltas {

qv_common::Result<source::Delta, std::string> get(source::Version target) {
  switch (target) {
    case 2:
      return v1_to_v2::delta();
    case 3:
      return v2_to_v3::delta();
    case 4:
      return v3_to_v4::delta();
    case 5:
      return v4_to_v5::delta();
    case 6:
      return v5_to_v6::delta();
    case 7:
      return v6_to_v7::delta();
    case 8:
      return v7_to_v8::delta();
    case 9:
      return v8_to_v9::delta();
    case 10:
      return v9_to_v10::delta();
    case 11:
      return v10_to_v11::delta();
    case 12:
      return v11_to_v12::delta();
    case 13:
      return v12_to_v13::delta();
    default:
      return qv_common::fail("No delta migration for version " + std::to_string(target));
  }
}

}  // namespace schema::deltas
