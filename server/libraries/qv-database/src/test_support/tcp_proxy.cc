#include "test_support/tcp_proxy.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace test_support {
namespace {

int connect_to(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
  int socket_fd = -1;
  for (addrinfo* address = found; address != nullptr && socket_fd < 0; address = address->ai_next) {
    socket_fd = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (socket_fd >= 0 && connect(socket_fd, address->ai_addr, address->ai_addrlen) != 0) {
      close(socket_fd);
      socket_fd = -1;
    }
  }
  freeaddrinfo(found);
  return socket_fd;
}

// Copies what `from` has to `to`; false once `from` is closed or either fails.
bool pass_on(int from, int to) {
  char buffer[16384];
  ssize_t got = read(from, buffer, sizeof buffer);
  if (got <= 0) return false;
  for (ssize_t sent = 0; sent < got;) {
    ssize_t wrote = write(to, buffer + sent, static_cast<std::size_t>(got - sent));
    if (wrote <= 0) return false;
    sent += wrote;
  }
  return true;
}

}  // namespace

TcpProxy::TcpProxy(std::string host, int port) : host_(std::move(host)), target_port_(port) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 16) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      pipe(stop_) != 0) {
    throw std::runtime_error("the test proxy cannot listen");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

TcpProxy::~TcpProxy() {
  unplug();
  thread_.join();
  close(stop_[0]);
  close(stop_[1]);
}

void TcpProxy::unplug() {
  if (unplugged_.exchange(true)) return;
  char byte = 0;
  (void)!write(stop_[1], &byte, 1);
}

// One thread serves the listener and every relay, so that unplugging reaches
// them all at once.
void TcpProxy::serve() {
  struct Pair {
    int client;
    int server;
  };
  std::vector<Pair> pairs;
  while (!unplugged_) {
    std::vector<pollfd> watched = {{listener_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    for (const Pair& pair : pairs) {
      watched.push_back({pair.client, POLLIN, 0});
      watched.push_back({pair.server, POLLIN, 0});
    }
    if (poll(watched.data(), watched.size(), -1) < 0) continue;
    if (watched[1].revents != 0) break;
    for (std::size_t index = 0; index < pairs.size(); ++index) {
      Pair& pair = pairs[index];
      bool open = true;
      if (watched[2 + 2 * index].revents != 0) open = pass_on(pair.client, pair.server);
      if (open && watched[3 + 2 * index].revents != 0) open = pass_on(pair.server, pair.client);
      if (!open) {
        close(pair.client);
        close(pair.server);
        pair = {-1, -1};
      }
    }
    std::erase_if(pairs, [](const Pair& pair) { return pair.client < 0; });
    if (watched[0].revents != 0) {
      int client = accept(listener_, nullptr, nullptr);
      int server = client < 0 ? -1 : connect_to(host_, target_port_);
      if (server < 0) {
        if (client >= 0) close(client);
      } else {
        pairs.push_back({client, server});
      }
    }
  }
  close(listener_);
  for (const Pair& pair : pairs) {
    shutdown(pair.client, SHUT_RDWR);
    close(pair.client);
    close(pair.server);
  }
}

}  // namespace test_support
