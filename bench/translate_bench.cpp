// Times streaming a language's lines into a translator, line by line as a project load does.
// Usage: translate_bench <lines> <text file to write> [naive]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "translate/cmp_TTranslator.h"

using namespace qnl;

namespace {

// Lines like a real language: strings, a comment now and then, and a memo every 50 lines.
std::vector<std::string> MakeLines(int Count) {
  std::vector<std::string> lines;
  lines.reserve(Count);
  for (int i = 0; lines.size() < static_cast<size_t>(Count); ++i) {
    if (i % 50 == 0 && lines.size() + 5 <= static_cast<size_t>(Count)) {
      lines.push_back("#" + std::to_string(100000 + i) + ";");
      lines.push_back("Dies ist die erste Zeile des Textes " + std::to_string(i));
      lines.push_back("  und dies die zweite, eingerueckt");
      lines.push_back("* eine Bemerkung");
      lines.push_back("#");
    } else if (i % 17 == 0) {
      lines.push_back("* Abschnitt " + std::to_string(i));
    } else {
      lines.push_back(std::to_string(i) + ";Ein uebersetzter Text Nummer " + std::to_string(i) + ";Rest");
    }
  }
  return lines;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: translate_bench <lines> <text file> [naive]\n");
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const bool naive = argc > 3 && std::string(argv[3]) == "naive";
  const std::vector<std::string> lines = MakeLines(count);
  {
    std::ofstream out(argv[2], std::ios::binary);
    for (const std::string& l : lines) out << l << "\n";
  }
  TTranslator translator(nullptr);
  TLanguage& german = *translator.LanguageByIdent(qlGerman);
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& l : lines) {
    german.Strings()->Add(l);
    // The naive rule for comparison: the whole language parsed again after every line.
    if (naive) german.ParseStrings();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d %.6f %d %d\n", count, seconds, german.StringEntryCount(), german.MemoEntryCount());
  return 0;
}
