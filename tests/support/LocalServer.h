// A local HTTP or FTP server of the tests (tests/support/net_server.py), on an ephemeral port.
#pragma once

#include <sys/types.h>

#include <string>

namespace qnl::test {

// Serves the Unix directory Root while it lives; stopped by the destructor.
class TLocalServer {
public:
  enum class TKind { skHTTP, skHTTPS, skFTP };
  TLocalServer(TKind Kind, const std::string& Root);
  ~TLocalServer();
  TLocalServer(const TLocalServer&) = delete;
  TLocalServer& operator=(const TLocalServer&) = delete;

  int Port() const { return FPort; }
  // "127.0.0.1:PORT", a location's Hostname.
  std::string Host() const { return "127.0.0.1:" + std::to_string(FPort); }

private:
  pid_t FPid = -1;
  int FPort = 0;
};

} // namespace qnl::test
