#include "platform/core/Persistent.h"

#include "platform/core/TypInfo.h"

namespace zelvar {

const TClassInfo& TPersistent::StaticClassInfo() {
  static const auto info = TClassBuilder<TPersistent>("TPersistent").Build();
  return *info;
}

void TPersistent::Assign(const TPersistent* source) {
  if (source != nullptr) {
    source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest->ClassName());
}

void TPersistent::DefineProperties(TFiler&) {}

std::string TPersistent::GetNamePath() const {
  return ClassName();
}

}  // namespace zelvar
