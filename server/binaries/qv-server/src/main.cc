#include <cstdint>
#include <string>
#include <vector>

#include "body.h"
#include "runtime.h"
#include "startup.h"

int main(int argc, char** argv) {
  qv_server::startup::prepare_process();
  const std::vector<std::string> arguments(argv, argv + argc);
  std::uint8_t code = 0;
  {
    qv_server::runtime::Runtime runtime(qv_server::runtime::worker_count_from_environment());
    code = runtime.block_on([&] { return qv_server::body::execute(arguments); });
  }
  return code;
}
