#include "platform/core/Strings.h"

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

const TClassInfo& TStrings::StaticClassInfo() {
  static const auto info = TClassBuilder<TStrings>("TStrings")
                               .Public("Count", &TStrings::Count)
                               .Public("Text", &TStrings::Text, &TStrings::SetText)
                               .Build();
  return *info;
}

const TClassInfo& TStringList::StaticClassInfo() {
  static const auto info = TClassBuilder<TStringList>("TStringList").Build();
  return *info;
}

void TStrings::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count)
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Changed() {
  if (FUpdateCount > 0) {
    FChangedWhileUpdating = true;
    return;
  }
  if (OnChange) OnChange(*this);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedWhileUpdating) {
    FChangedWhileUpdating = false;
    Changed();
  }
}

void TStrings::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  std::string s = Get(index1);
  int64_t o = GetObject(index1);
  BeginUpdate();
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, s);
  PutObject(index2, o);
  EndUpdate();
}

int TStrings::AddObject(const std::string& s, int64_t object) {
  int index = Count();
  InsertObject(index, s, object);
  return index;
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) {
    CheckIndex(curIndex, Count());
    return;
  }
  CheckIndex(curIndex, Count());
  CheckIndex(newIndex, Count());
  BeginUpdate();
  std::string s = Get(curIndex);
  int64_t o = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, o);
  EndUpdate();
}

void TStrings::AddStrings(const TStrings& other) {
  // Copy first: other may be this list.
  std::vector<std::pair<std::string, int64_t>> lines;
  for (int i = 0; i < other.Count(); ++i) lines.emplace_back(other.Get(i), other.GetObject(i));
  BeginUpdate();
  for (auto& [s, o] : lines) AddObject(s, o);
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), s)) return i;
  return -1;
}

int TStrings::IndexOfObject(int64_t object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += '\n';
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    Add(std::string(text.substr(start, end - start)));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> v;
  v.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) v.push_back(Get(i));
  return v;
}

void TStrings::Assign(const TPersistent* source) {
  if (const auto* other = dynamic_cast<const TStrings*>(source)) {
    if (other == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*other);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------------------------

TStringList::TStringList(std::initializer_list<std::string> lines) {
  for (const auto& s : lines) FItems.emplace_back(s, 0);
}

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)].first;
}

void TStringList::Put(int index, const std::string& s) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)].first = s;
  Changed();
}

int64_t TStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)].second;
}

void TStringList::PutObject(int index, int64_t object) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)].second = object;
  Changed();
}

void TStringList::InsertObject(int index, const std::string& s, int64_t object) {
  CheckIndex(index, Count() + 1);
  FItems.insert(FItems.begin() + index, {s, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
  Changed();
}

}  // namespace zelvar
