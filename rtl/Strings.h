// String lists: TStrings, the abstract list, and TStringList, the stored one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "rtl/Classes.h"

namespace qnl {

// An ordered list of byte strings, each with an optional object. Descendants store the
// lines; every operation goes through the virtual Get/Put/Insert/Delete/Clear.
class TStrings : public TPersistent {
  QNL_CLASS(TStrings, TPersistent)
public:
  virtual int Count() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const std::string& S);
  int AddObject(const std::string& S, TObject* AObject);
  void AddStrings(const TStrings& Strings);
  void Assign(const TPersistent* Source) override;
  virtual int IndexOf(const std::string& S) const; // case-insensitive
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);

  std::string operator[](int Index) const { return Get(Index); }
  std::string Strings(int Index) const { return Get(Index); }

  // The lines joined, each followed by CR LF.
  virtual std::string Text() const;
  // Replaces the lines by those of Value, split at CR LF, LF or CR.
  virtual void SetText(const std::string& Value);
  // Comma text: lines separated by commas, quoted when they hold blanks or commas.
  std::string CommaText() const;

  // Name=Value lines.
  std::string Names(int Index) const;
  std::string Values(const std::string& Name) const;
  void SetValue(const std::string& Name, const std::string& Value);
  int IndexOfName(const std::string& Name) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  bool Equals(const TStrings& Other) const;

protected:
  // Called when the update count goes from 0 to 1 (true) and back to 0 (false).
  virtual void SetUpdateState(bool Updating) {}
  [[noreturn]] void Error(const char* Msg, int Data) const;

private:
  int FUpdateCount = 0;
};

QNL_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

// The stored string list, optionally sorted, with change events.
class TStringList : public TStrings {
  QNL_CLASS(TStringList, TStrings)
public:
  TStringList() = default;
  int Count() const override { return static_cast<int>(FList.size()); }
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  int Add(const std::string& S) override;
  int IndexOf(const std::string& S) const override;
  bool Find(const std::string& S, int& Index) const; // binary search of a sorted list

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  void Sort();
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

  std::function<void(TObject*)> OnChange;
  std::function<void(TObject*)> OnChanging;

protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(const std::string& A, const std::string& B) const;

private:
  struct TItem {
    std::string S;
    TObject* Object = nullptr;
  };
  std::vector<TItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

} // namespace qnl
