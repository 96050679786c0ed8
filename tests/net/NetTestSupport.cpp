// A machine with local HTTP and FTP servers serving a folder of test files.
#include "tests/net/NetTestSupport.h"

#include <cstdlib>
#include <filesystem>

#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

void NetTest::SetUp() {
  TMachineTest::SetUp();
  SetNetAbort(false);
  FServed = FRoot + "/served";
  for (size_t i = 0; i < 300000; ++i) FArchive += static_cast<char>((i * 7919 + i / 251) & 0xFF);
  WriteFile(FServed + "/setup.1", FArchive);
  WriteFile(FServed + "/sub/dir/setup.1", FArchive);
  WriteFile(FServed + "/empty.1", "");
  WriteFile(FServed + "/starts404.1", "404 is how this file starts, and it is no error page");
  FHttp = std::make_unique<TLocalServer>(TLocalServer::TKind::skHTTP, FServed);
  FFtp = std::make_unique<TLocalServer>(TLocalServer::TKind::skFTP, FServed);
  ASSERT_GT(FHttp->Port(), 0);
  ASSERT_GT(FFtp->Port(), 0);
  FOwner = std::make_unique<TComponent>(nullptr);
}

void NetTest::TearDown() {
  FOwner.reset();
  FHttp.reset();
  FFtp.reset();
  SetNetAbort(false);
  TMachineTest::TearDown();
}

TNetInstallLocation* NetTest::Location(TInternetProtocol Protocol, const std::string& Directory) {
  auto* location = new TNetInstallLocation(FOwner.get());
  TLoginInformation& login = *location->LoginInformation();
  login.FProtocol = Protocol;
  login.FHostname = (Protocol == ipHTTP ? FHttp : FFtp)->Host();
  login.FDirectory = Directory;
  return location;
}

std::string NetTest::Download(TCustomNetInstallLocation* Location, const std::string& Remote) {
  return MessageOf([&] { Location->Download(Remote, "C:\\got.1"); });
}

std::string NetTest::Got() const { return ReadMachineFile("C:\\got.1"); }

std::string NetTest::TempFiles() const {
  std::string names;
  for (const auto& entry : std::filesystem::directory_iterator(Unix("C:\\windows\\temp")))
    names += entry.path().filename().string() + " ";
  return names;
}

int NetTest::HttpConnections() const { return std::atoi(ReadFile(FRoot + "/connections.txt").c_str()); }

} // namespace qnl::test
