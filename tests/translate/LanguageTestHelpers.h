// Helpers shared by the translator tests: languages filled from literal lines.
#pragma once

#include <initializer_list>
#include <string>

#include "translate/cmp_TTranslator.h"

namespace qnl::test {

// Adds the lines one by one, as streaming does.
inline void AddLines(TLanguage& Language, std::initializer_list<const char*> Lines) {
  for (const char* line : Lines) Language.Strings()->Add(line);
}

// The message of the Exception that Work raises, or "" when it raises none.
template <class F>
std::string ErrorOf(F&& Work) {
  try {
    Work();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

// A compact picture of the entries: "5@1:Weiter >|6@2:Abbrechen" and "300@3:[a/b]".
inline std::string StringEntries(const TLanguage& L) {
  std::string r;
  for (int i = 0; i < L.StringEntryCount(); ++i) {
    if (i) r += "|";
    r += std::to_string(L.StringEntry(i)->GLID()) + "@" + std::to_string(L.StringEntry(i)->LineIndex()) + ":" +
         L.StringEntry(i)->Text();
  }
  return r;
}

inline std::string MemoEntries(const TLanguage& L) {
  std::string r;
  for (int i = 0; i < L.MemoEntryCount(); ++i) {
    if (i) r += "|";
    const TLanguageMemo* m = L.MemoEntry(i);
    r += std::to_string(m->GLID()) + "@" + std::to_string(m->LineIndex()) + ":[";
    for (int k = 0; k < m->Lines().Count(); ++k) r += (k ? "/" : "") + m->Lines().Get(k);
    r += "]";
  }
  return r;
}

} // namespace qnl::test
