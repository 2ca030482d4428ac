#pragma once

// A TCP relay between clients and a server, for tests of a server that goes
// away: `unplug` drops every relayed connection at once, as a crashed server
// or a broken network would, and refuses new ones.

#include <atomic>
#include <string>
#include <thread>

namespace test_support {

class TcpProxy {
 public:
  // Listens on 127.0.0.1 at a free port and relays to `host`:`port`.
  TcpProxy(std::string host, int port);
  TcpProxy(const TcpProxy&) = delete;
  TcpProxy& operator=(const TcpProxy&) = delete;
  ~TcpProxy();

  int port() const { return port_; }
  void unplug();

 private:
  void serve();

  std::string host_;
  int target_port_;
  int listener_ = -1;
  int port_ = 0;
  int stop_[2] = {-1, -1};  // a pipe: written once to end every relay
  std::atomic<bool> unplugged_ = false;
  std::thread thread_;
};

}  // namespace test_support
