// The system's own exception family.
#include "common/exceptions_Quenloft.h"

namespace qnl {

namespace {
TMessageTranslator& Translator() {
  static TMessageTranslator translator;
  return translator;
}
} // namespace

void SetMessageTranslator(TMessageTranslator NewTranslator) { Translator() = std::move(NewTranslator); }

std::string TranslateMessage(const std::string& English) {
  const TMessageTranslator& t = Translator();
  return t ? t(English) : English;
}

} // namespace qnl
