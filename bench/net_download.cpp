// Downloads files of an HTTP location into a folder with one net location, as an
// installation fetches its archives: net_download HOST DIRECTORY UNIXDIR FILE...
#include <cstdio>
#include <exception>

#include "net/cmp_TNetInstallLocation.h"

int main(int argc, char** argv) {
  using namespace qnl;
  if (argc < 5) {
    std::fprintf(stderr, "usage: net_download HOST DIRECTORY UNIXDIR FILE...\n");
    return 2;
  }
  try {
    TNetInstallLocation location(nullptr);
    location.LoginInformation()->FHostname = argv[1];
    location.LoginInformation()->FDirectory = argv[2];
    std::string dir = std::string("Z:") + argv[3];
    for (char& c : dir)
      if (c == '/') c = '\\';
    for (int i = 4; i < argc; ++i) location.Download(argv[i], dir + "\\" + argv[i]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
