#pragma once
// TPersistent: an object that can copy itself from another (Assign) and add its own values to a
// form file (DefineProperties).

#include <string>

#include "platform/core/Object.h"

namespace zelvar {

class TFiler;

class TPersistent : public TObject {
  ZELVAR_CLASS(TPersistent, TObject)

 public:
  // Copies source into this object. The default asks source to AssignTo this object and raises
  // EConvertError when neither knows how.
  virtual void Assign(const TPersistent* source);
  // Adds stored values after the published properties; read back in the order defined.
  virtual void DefineProperties(TFiler& filer);
  // A dotted path for messages ("Form1.Zelvar1.BtnNext").
  virtual std::string GetNamePath() const;
  // The object this one belongs to: names inside its values resolve there.
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* dest) const;
};

}  // namespace zelvar
