// String lists.
#include "rtl/Strings.h"

#include <algorithm>

#include "rtl/SysUtils.h"

namespace qnl {

QNL_BEGIN_CLASS(TStrings);
QNL_END_CLASS

void TStrings::Error(const char* Msg, int Data) const { throw EListError(Format(Msg, {Data})); }

void TStrings::Put(int Index, const std::string& S) {
  TObject* obj = GetObject(Index);
  BeginUpdate();
  Delete(Index);
  Insert(Index, S);
  PutObject(Index, obj);
  EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& S) {
  int n = Count();
  Insert(n, S);
  return n;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int i = Add(S);
  PutObject(i, AObject);
  return i;
}

void TStrings::AddStrings(const TStrings& Strings) {
  BeginUpdate();
  for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  EndUpdate();
}

void TStrings::Assign(const TPersistent* Source) {
  if (auto src = dynamic_cast<const TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*src);
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  std::string s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  Insert(NewIndex, s);
  PutObject(NewIndex, o);
  EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  std::string s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    r += Get(i);
    r += "\r\n";
  }
  return r;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  Clear();
  size_t pos = 0;
  while (pos < Value.size()) {
    size_t end = Value.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      Add(Value.substr(pos));
      break;
    }
    Add(Value.substr(pos, end - pos));
    if (Value[end] == '\r' && end + 1 < Value.size() && Value[end + 1] == '\n') ++end;
    pos = end + 1;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    if (i) r += ',';
    std::string s = Get(i);
    bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos;
    for (char c : s) quote = quote || static_cast<unsigned char>(c) < ' ';
    if (quote)
      r += '"' + StringReplaceAll(s, "\"", "\"\"") + '"';
    else
      r += s;
  }
  return r;
}

std::string TStrings::Names(int Index) const {
  std::string s = Get(Index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && SameText(std::string_view(s).substr(0, eq), Name)) return i;
  }
  return -1;
}

std::string TStrings::Values(const std::string& Name) const {
  int i = IndexOfName(Name);
  if (i < 0) return {};
  std::string s = Get(i);
  return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(Name + "=" + Value);
  } else {
    Put(i, Name + "=" + Value);
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& Other) const {
  if (Count() != Other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

QNL_BEGIN_CLASS(TStringList);
QNL_END_CLASS

static const char* kIndexError = "List index out of bounds (%d)";

std::string TStringList::Get(int Index) const {
  if (Index < 0 || Index >= Count()) Error(kIndexError, Index);
  return FList[Index].S;
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (Index < 0 || Index >= Count()) Error(kIndexError, Index);
  Changing();
  FList[Index].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  if (Index < 0 || Index >= Count()) Error(kIndexError, Index);
  return FList[Index].Object;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= Count()) Error(kIndexError, Index);
  Changing();
  FList[Index].Object = AObject;
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > Count()) Error(kIndexError, Index);
  Changing();
  FList.insert(FList.begin() + Index, TItem{S, nullptr});
  Changed();
}

void TStringList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) Error(kIndexError, Index);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

int TStringList::Add(const std::string& S) {
  if (!FSorted) {
    int n = Count();
    Changing();
    FList.push_back(TItem{S, nullptr});
    Changed();
    return n;
  }
  int index;
  if (Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
  }
  Changing();
  FList.insert(FList.begin() + index, TItem{S, nullptr});
  Changed();
  return index;
}

int TStringList::CompareStrings(const std::string& A, const std::string& B) const {
  return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

int TStringList::IndexOf(const std::string& S) const {
  if (FSorted) {
    int i;
    return Find(S, i) ? i : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(FList[i].S, S) == 0) return i;
  return -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(FList[mid].S, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FList.begin(), FList.end(),
                   [this](const TItem& A, const TItem& B) { return CompareStrings(A.S, B.S) < 0; });
  Changed();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

} // namespace qnl
