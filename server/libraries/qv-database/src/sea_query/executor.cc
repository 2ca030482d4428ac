#include "sea_query/executor.h"

namespace sea_query::executor {

op::Result<void> PoolExecutor::lend(const std::function<void(connection::Connection&)>& use) const {
  QV_ASSIGN_OR_RETURN(pool::Lease lease, pool_.acquire());
  use(*lease);
  return {};
}

op::Result<void> ConnectionExecutor::lend(const std::function<void(connection::Connection&)>& use) const {
  use(connection_);
  return {};
}

}  // namespace sea_query::executor
