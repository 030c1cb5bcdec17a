#pragma once
// TStrings and TStringList: an ordered list of strings, each with an integer object slot.
// Every index is checked; out of range raises EListError.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/Persistent.h"

namespace zelvar {

class TStrings : public TPersistent {
  ZELVAR_CLASS(TStrings, TPersistent)

 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s) = 0;
  virtual int64_t GetObject(int index) const = 0;
  virtual void PutObject(int index, int64_t object) = 0;
  virtual void InsertObject(int index, const std::string& s, int64_t object) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int index1, int index2);

  std::string Strings(int index) const { return Get(index); }
  std::string operator[](int index) const { return Get(index); }
  int64_t Objects(int index) const { return GetObject(index); }
  int Add(const std::string& s) { return AddObject(s, 0); }
  int AddObject(const std::string& s, int64_t object);
  void Insert(int index, const std::string& s) { InsertObject(index, s, 0); }
  void Move(int curIndex, int newIndex);
  void AddStrings(const TStrings& other);
  // First line equal to s, compared case-insensitively; -1 when there is none.
  int IndexOf(std::string_view s) const;
  int IndexOfObject(int64_t object) const;
  // The lines joined with line ends; setting it splits at LF, CR LF or CR.
  std::string Text() const;
  void SetText(std::string_view text);
  bool Equals(const TStrings& other) const;
  std::vector<std::string> ToVector() const;

  void Assign(const TPersistent* source) override;

  // Change notification, deferred while updates are bracketed.
  std::function<void(TStrings&)> OnChange;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

 protected:
  void Changed();
  void CheckIndex(int index, int count) const;

 private:
  int FUpdateCount = 0;
  bool FChangedWhileUpdating = false;
};

class TStringList : public TStrings {
  ZELVAR_CLASS(TStringList, TStrings)

 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> lines);

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  int64_t GetObject(int index) const override;
  void PutObject(int index, int64_t object) override;
  void InsertObject(int index, const std::string& s, int64_t object) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;

 private:
  std::vector<std::pair<std::string, int64_t>> FItems;
};

}  // namespace zelvar
