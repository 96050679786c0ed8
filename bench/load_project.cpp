// Loading benchmark: reads a binary form resource into a fresh root again and again and
// prints the milliseconds one load takes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/HostFiles.h"
#include "rtl/FormReader.h"
#include "tests/rtl/FormFixtureClasses.h"

using namespace qnl;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_load_project RESOURCE LOADS\n");
    return 2;
  }
  test::RegisterFormTestClasses();
  std::string data = host::ReadWholeFile(argv[1]);
  int loads = std::atoi(argv[2]);
  int components = 0;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < loads; ++i) {
    auto form = std::make_unique<test::TTestForm>();
    TMemoryStream stream(data);
    ReadRootComponent(stream, form.get());
    components = form->ComponentCount();
    test::StreamLog().clear();
  }
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  std::printf("%.3f %d\n", spent.count() / loads, components);
  return 0;
}
