// The system's own exception family.
#include "common/exceptions_Quenloft.h"

namespace qnl {

namespace {
TMessageTranslator& Translator() {
  static TMessageTranslator translator;
  return translator;
}
} // namespace

void SetMessageTranslator(TMessageTranslator translator) { Translator() = std::move(translator); }

std::string TranslateMessage(const std::string& english) {
  const TMessageTranslator& t = Translator();
  return t ? t(english) : english;
}

} // namespace qnl
