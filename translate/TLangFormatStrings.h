// The string list that holds one language's lines.
#pragma once

#include <cstdint>
#include <string>

#include "rtl/Streams.h"
#include "rtl/Strings.h"

namespace qnl {

class TLanguage;

// A string list that belongs to one language and keeps the language's entries equal to
// the parse of its lines: Add, AddObject, AddStrings, Clear, Insert, LoadFromStream and
// Move re-parse; Assign and LoadFromFile parse once after the whole change; Delete only
// shifts the line indexes of the string entries after the deleted line; replacing a line
// does not re-parse.
class TLangFormatStrings : public TStringList {
  QNL_CLASS(TLangFormatStrings, TStringList)
public:
  explicit TLangFormatStrings(TLanguage* Language = nullptr) : FLanguage(Language) {}

  TLanguage* Language() const { return FLanguage; }

  int Add(const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  void PutObject(int Index, TObject* AObject) override;
  void Assign(const TPersistent* Source) override;
  // The lines of the rest of Stream, split at CR LF, LF or CR.
  void LoadFromStream(TStream& Stream);
  // The lines of a file of the machine (a Windows path).
  void LoadFromFile(const std::string& FileName);

  // Counts every change of the lines (not of their objects) so that the language can tell
  // whether the lines are still those it parsed last.
  uint64_t ChangeStamp() const { return FChangeStamp; }

protected:
  void SetUpdateState(bool Updating) override;
  void Changed() override;

private:
  // Parsing switched off for a bulk change, switched on again and run once only when the
  // change succeeded.
  template <class F>
  void WithParsingSuspended(F&& Work);

  TLanguage* FLanguage;
  uint64_t FChangeStamp = 0;
  bool FStampSuppressed = false;
};

} // namespace qnl
