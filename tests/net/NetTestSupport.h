// A machine with local HTTP and FTP servers serving a folder of test files.
#pragma once

#include <memory>
#include <string>

#include "net/cmp_TNetInstallLocation.h"
#include "tests/support/LocalServer.h"
#include "tests/support/MachineTest.h"

namespace qnl::test {

class NetTest : public TMachineTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // A location of FOwner logging in to Server's host.
  TNetInstallLocation* Location(TInternetProtocol Protocol, const std::string& Directory = "");
  // Downloads Remote with Location into C:\got.1; the error's message or "(no exception)".
  std::string Download(TCustomNetInstallLocation* Location, const std::string& Remote);
  // What the last download wrote.
  std::string Got() const;
  // The files in the machine's temporary folder, separated by blanks.
  std::string TempFiles() const;
  // How many connections the HTTP server accepted so far.
  int HttpConnections() const;

  std::string FServed;  // the served folder (Unix path)
  std::string FArchive; // the bytes of served setup.1
  std::unique_ptr<TLocalServer> FHttp;
  std::unique_ptr<TLocalServer> FFtp;
  std::unique_ptr<TComponent> FOwner;
};

} // namespace qnl::test
