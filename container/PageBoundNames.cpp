// The container's view of page-bound controls by published name, and the one computation of a
// jump target.

#include "container/PageBoundNames.h"

#include <limits>

#include "platform/core/Format.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

int32_t JumpTarget(TJumpMode mode, int32_t jumpPage, int32_t page) {
  if (mode == jmAbsolut) return jumpPage;
  int64_t t = int64_t{page} + jumpPage;
  // A sum no page can have offers no target, as -1 does.
  if (t < std::numeric_limits<int32_t>::min() || t > std::numeric_limits<int32_t>::max()) return -1;
  return static_cast<int32_t>(t);
}

TBroadcastMethod::TBroadcastMethod(const TClassInfo& cls, const char* name)
    : Method(cls.FindMethod(name)),
      Invoke(Method ? Method->FoundInvoker<void, int32_t>() : nullptr) {}

void TBroadcastMethod::CallChecked(TComponent* c, int32_t n) const {
  TMethod(c, Method).Call<void, int32_t>(n);  // raises: the wrong shape
}

namespace {

// A published field whose declared class is cls or descends from it, or nullptr.
const TFieldInfo* FieldOfClass(const TClassInfo& owner, const char* name, const TClassInfo& cls) {
  const TFieldInfo* f = owner.FindField(name);
  return f && f->FieldClass && f->FieldClass().InheritsFrom(cls) ? f : nullptr;
}

// A published property of the given kind, or nullptr.
const TPropInfo* PropOfKind(const TClassInfo& cls, const char* name, TPropKind kind) {
  const TPropInfo* p = cls.FindProp(name);
  return p && p->Kind == kind && p->GetOrd ? p : nullptr;
}

}  // namespace

TPlaceRoles::TPlaceRoles(const TClassInfo& cls)
    : TBroadcastMethod(cls, "SetNewPosition"),
      AposList(FieldOfClass(cls, "FAposList", TAposList::StaticClassInfo())),
      Container(FieldOfClass(cls, "FZelvar", TZelvar::StaticClassInfo())) {}

void TPlaceRoles::RaiseNoPlace(const TComponent& c, int32_t page, const TAposList& list) {
  throw EListError(Format("Page %d has no place in the position list of %s (it holds %d)",
                          {page, FormName(c), list.RecordCount()}));
}

TJumpRoles::TJumpRoles(const TClassInfo& cls) {
  const TPropInfo* page = PropOfKind(cls, "JumpPage", TPropKind::Integer);
  const TPropInfo* mode = PropOfKind(cls, "JumpMode", TPropKind::Enumeration);
  const TPropInfo* checked = PropOfKind(cls, "Checked", TPropKind::Boolean);
  const TPropInfo* enabled = PropOfKind(cls, "Enabled", TPropKind::Boolean);
  // The page must be a page number, and the mode the jump controls' own.
  if (!page || page->MinValue < std::numeric_limits<int32_t>::min() ||
      page->MaxValue > std::numeric_limits<int32_t>::max())
    return;
  if (!mode || mode->EnumType != &EnumTypeOf(TJumpMode{}) || !checked || !enabled) return;
  JumpPage = page;
  JumpMode = mode;
  Checked = checked;
  Enabled = enabled;
  ButtonMode = PropOfKind(cls, "ButtonMode", TPropKind::Boolean);
}

std::optional<int32_t> TJumpRoles::Choice(const TComponent& c, int32_t page) const {
  if (!TakesPart()) return std::nullopt;
  const bool designed = !ButtonMode || ButtonMode->GetOrd(&c) != 0;
  if (designed && c.IsDesigning()) return std::nullopt;
  if (!Enabled->GetOrd(&c) || !Checked->GetOrd(&c)) return std::nullopt;
  return JumpTarget(static_cast<TJumpMode>(JumpMode->GetOrd(&c)),
                    static_cast<int32_t>(JumpPage->GetOrd(&c)), page);
}

}  // namespace zelvar
