#pragma once

namespace qv_server::startup {

// Makes the process safe to run before any other work: reopens a closed
// standard input, output or error on "/dev/null" (so no later file lands on
// descriptor 0, 1 or 2), ignores SIGPIPE (writing to a closed pipe becomes an
// ordinary error) and names the calling thread "main".
void prepare_process();

}  // namespace qv_server::startup
