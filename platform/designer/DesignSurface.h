#pragma once
// Where the designer shows the form being designed: the form as it will run, inside a frame
// with its caption, over a dark work area, with the selection's grab handles and the rectangle
// of a component being created painted over it. The form lies in the surface as a child, so
// the mouse reaches its controls through the normal path, and TForm routes what the designer
// takes to the form's editor. Keys that reach the surface go to the editor.

#include <cstdint>

#include "platform/controls/Controls.h"
#include "platform/designer/FormEditor.h"

namespace zelvar {

class TDesignSurface : public TCustomControl {
  ZELVAR_CLASS(TDesignSurface, TCustomControl)

 public:
  // The space between the work area's corner and the form's frame.
  static constexpr int32_t kMargin = 12;

  explicit TDesignSurface(TComponent* owner);
  ~TDesignSurface() override;

  // Shows form, edited by editor; nullptr for none. The surface does not own them.
  void SetForm(TForm* form, TFormEditor* editor);
  TForm* Form() const { return FForm; }
  // Where the form's client area lies, in the surface's client coordinates.
  TPoint FormClientOrigin() const;

  void Paint() override;
  void PaintOver(TCanvas& canvas) override;
  TPoint ChildOrigin() const override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TForm* FForm = nullptr;
  TFormEditor* FEditor = nullptr;
};

}  // namespace zelvar
