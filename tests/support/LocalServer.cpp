// A local HTTP or FTP server of the tests.
#include "tests/support/LocalServer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/ChildProcess.h"

namespace qnl::test {

TLocalServer::TLocalServer(TKind Kind, const std::string& Root) {
  // A proxy of the machine running the tests must not stand between them and their servers
  // (or answer for a host that must not resolve); the programs they start inherit this.
  for (const char* proxy :
       {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "FTP_PROXY", "ALL_PROXY"})
    unsetenv(proxy);
  const char* source = std::getenv("QNL_SOURCE");
  std::string script = std::string(source ? source : ".") + "/tests/support/net_server.py";
  int fd = -1;
  // Debian's python3, which sees python3-pyftpdlib.
  const char* kind = Kind == TKind::skHTTP ? "http" : Kind == TKind::skHTTPS ? "https" : "ftp";
  FPid = StartWithOutputPipe({"/usr/bin/python3", script, kind, Root}, fd);
  if (FPid < 0) return;
  std::string line;
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n') line += c;
  close(fd);
  if (line.rfind("PORT ", 0) == 0) FPort = std::atoi(line.c_str() + 5);
}

TLocalServer::~TLocalServer() {
  if (FPid <= 0) return;
  kill(FPid, SIGTERM);
  int status = 0;
  waitpid(FPid, &status, 0);
}

} // namespace qnl::test
