#pragma once
// IDesigner: what a form designer offers the components it edits. A form being designed holds
// one (TForm::Designer()); components tell it when they changed themselves and ask it to select
// them, so the designer's property view and selection follow what the user did.

namespace zelvar {

class TPersistent;

class IDesigner {
 public:
  virtual ~IDesigner() = default;
  // The edited form changed: it needs saving, and property views must read it again.
  virtual void Modified() = 0;
  // Makes instance the designer's whole selection.
  virtual void SelectComponent(TPersistent* instance) = 0;
};

}  // namespace zelvar
