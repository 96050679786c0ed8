// The string list that holds one language's lines.
#include "translate/TLangFormatStrings.h"

#include "platform/files/FileStream.h"
#include "rtl/ScopeGuard.h"
#include "translate/TLanguage.h"

namespace qnl {

QNL_BEGIN_CLASS(TLangFormatStrings);
QNL_END_CLASS

int TLangFormatStrings::Add(const std::string& S) {
  const uint64_t stampBefore = FChangeStamp;
  const int index = TStringList::Add(S);
  if (FLanguage) FLanguage->LinesAppended(index, stampBefore);
  return index;
}

void TLangFormatStrings::Insert(int Index, const std::string& S) {
  const uint64_t stampBefore = FChangeStamp;
  const bool atEnd = Index == Count();
  TStringList::Insert(Index, S);
  if (!FLanguage) return;
  if (atEnd)
    FLanguage->LinesAppended(Index, stampBefore);
  else
    FLanguage->ParseStrings();
}

void TLangFormatStrings::Delete(int Index) {
  TStringList::Delete(Index);
  if (FLanguage) FLanguage->LineDeleted(Index);
}

void TLangFormatStrings::Clear() {
  TStringList::Clear();
  if (FLanguage) FLanguage->ParseStrings();
}

void TLangFormatStrings::PutObject(int Index, TObject* AObject) {
  // Objects take no part in parsing: attaching one must not make the next append re-parse.
  TFlagGuard suppressed(FStampSuppressed);
  TStringList::PutObject(Index, AObject);
}

template <class F>
void TLangFormatStrings::WithParsingSuspended(F&& Work) {
  if (!FLanguage) {
    Work();
    return;
  }
  {
    const bool wasEnabled = FLanguage->ParseEnabled();
    FLanguage->SetParseEnabled(false);
    TScopeExit restore([&] { FLanguage->SetParseEnabled(wasEnabled); });
    Work();
  }
  FLanguage->ParseStrings();
}

void TLangFormatStrings::Assign(const TPersistent* Source) {
  WithParsingSuspended([&] { TStringList::Assign(Source); });
}

void TLangFormatStrings::LoadFromStream(TStream& Stream) {
  const int64_t remaining = Stream.Size() - Stream.Position();
  const std::string data = Stream.ReadString(remaining > 0 ? remaining : 0);
  // Each line arrives through Add and parses as it comes, so a faulty line stops the load
  // where it stands; the lines are then parsed once more as a whole.
  BeginUpdate();
  try {
    SetText(data);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (FLanguage) FLanguage->ParseStrings();
}

void TLangFormatStrings::LoadFromFile(const std::string& FileName) {
  WithParsingSuspended([&] {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    const std::string data = file.ReadString(file.Size());
    SetText(data);
  });
}

void TLangFormatStrings::SetUpdateState(bool Updating) {
  FStampSuppressed = true;
  TStringList::SetUpdateState(Updating);
  FStampSuppressed = false;
}

void TLangFormatStrings::Changed() {
  if (!FStampSuppressed) ++FChangeStamp;
  TStringList::Changed();
}

} // namespace qnl
