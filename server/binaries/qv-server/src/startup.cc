#include "startup.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace qv_server::startup {
namespace {

// The descriptor opened here becomes the standard descriptor and lives as
// long as the process, so it is not owned by a guard.
void reopen_if_closed(int descriptor) {
  if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) return;
  const int opened = ::open("/dev/null", O_RDWR);
  if (opened == -1 || opened == descriptor) return;
  ::dup2(opened, descriptor);
  ::close(opened);
}

}  // namespace

void prepare_process() {
  // In ascending order: open() hands out the lowest free descriptor.
  for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    reopen_if_closed(descriptor);
  }
  std::signal(SIGPIPE, SIG_IGN);
  pthread_setname_np(pthread_self(), "main");
}

}  // namespace qv_server::startup
