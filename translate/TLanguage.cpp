// One language of the translator.
#include "translate/TLanguage.h"

#include "translate/LocaleText.h"

namespace qnl {

QNL_BEGIN_CLASS(TLanguage)
    .Sub("Font", &C::Font)
    .Prop("FontOverride", &C::FontOverride, &C::SetFontOverride)
    .Sub("Strings", &C::Strings);
QNL_END_CLASS

TLanguage::TLanguage(TTranslator* Translator, TQnlfLanguage Ident)
    : FTranslator(Translator), FLanguageIdent(Ident), FFont(std::make_unique<TFont>()),
      FStrings(std::make_unique<TLangFormatStrings>(this)), FParser(this, FStringEntries, FMemoEntries) {
  if (const TLanguageInfo* info = FindLanguageInfo(Ident)) {
    FTextFileName = info->TextFileName;
    FPictureName = info->PictureName;
  }
}

TLanguage::~TLanguage() = default;

void TLanguage::DiscardEntries() {
  FStringEntries.clear();
  FMemoEntries.clear();
}

void TLanguage::ParseFrom(int First) {
  const int count = FStrings->Count();
  try {
    for (int i = First; i < count; ++i) FParser.ParseLine(i, FStrings->Get(i));
  } catch (const Exception& e) {
    DiscardEntries();
    FParser.Reset();
    FFailure = e.Message();
    FParsedCount = count;
    FParsedStamp = FStrings->ChangeStamp();
    FParsedValid = true;
    throw;
  }
  FParsedCount = count;
  FParsedStamp = FStrings->ChangeStamp();
  FParsedValid = true;
}

void TLanguage::ParseStrings() {
  if (!FParseEnabled) return;
  DiscardEntries();
  FParser.Reset();
  FFailure.clear();
  ParseFrom(0);
}

void TLanguage::LinesAppended(int Index, uint64_t StampBefore) {
  if (!FParseEnabled) return;
  const bool continues =
      FParsedValid && FParsedStamp == StampBefore && FParsedCount == Index && Index == FStrings->Count() - 1;
  if (!continues) {
    ParseStrings();
    return;
  }
  if (!FFailure.empty()) {
    // A full parse of the longer list stops at the same faulty line with the same error.
    FParsedCount = FStrings->Count();
    FParsedStamp = FStrings->ChangeStamp();
    throw Exception(FFailure);
  }
  ParseFrom(Index);
}

void TLanguage::LineDeleted(int Index) {
  FParsedValid = false;
  for (auto& entry : FStringEntries)
    if (entry->LineIndex() > Index) entry->SetLineIndex(entry->LineIndex() - 1);
}

TLanguageString* TLanguage::FindStringByText(const std::string& Text) const {
  const TLocaleKey key(Text);
  for (const auto& entry : FStringEntries)
    if (key.SameAs(entry->Text())) return entry.get();
  return nullptr;
}

TLanguageString* TLanguage::FindStringByGLID(int32_t GLID) const {
  for (const auto& entry : FStringEntries)
    if (entry->GLID() == GLID) return entry.get();
  return nullptr;
}

TLanguageMemo* TLanguage::FindMemoByText(const TStrings& Lines) const {
  const std::string text = Lines.Text();
  for (const auto& entry : FMemoEntries)
    if (entry->Lines().Text() == text) return entry.get();
  return nullptr;
}

TLanguageMemo* TLanguage::FindMemoByGLID(int32_t GLID) const {
  for (const auto& entry : FMemoEntries)
    if (entry->GLID() == GLID) return entry.get();
  return nullptr;
}

void TLanguage::Assign(const TPersistent* Source) {
  if (auto* other = dynamic_cast<const TLanguage*>(Source)) {
    FFont->Assign(other->Font());
    FFontOverride = other->FFontOverride;
    FStrings->Assign(other->Strings());
    return;
  }
  TPersistent::Assign(Source);
}

} // namespace qnl
