// The form around the container: its size per mode, kept around the form's centre, and its
// caption, which follows the page.

#include <algorithm>
#include <limits>

#include "container/ZelvarA.h"
#include "platform/controls/Accessibility.h"
#include "platform/core/Format.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

void TZelvar::myresize(int32_t w, int32_t h) {
  if (Align() != alClient) return;
  TForm* form = OwnerForm();
  if (!form) return;
  // Sizes come from form files: the arithmetic must not overflow whatever they hold.
  int64_t left = int64_t{form->Left()} + form->Width() / 2 - w / 2;
  int64_t top = int64_t{form->Top()} + form->Height() / 2 - h / 2;
  form->SetBounds(Saturate(left), Saturate(top), w, h);
}

void TZelvar::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TCustomControl::SetBounds(left, top, width, height);
  if (!FRecordSize || !IsDesigning()) return;
  TForm* form = OwnerForm();
  if (!form) return;
  if (FPage == 0) {
    FDialogWidth = form->Width();
    FDialogHeight = form->Height();
  } else {
    FWizardWidth = form->Width();
    FWizardHeight = form->Height();
  }
}

void TZelvar::WMSize() {
  TCustomControl::WMSize();
  ShowButtons();
  if (FStyle == asTabbed) inittabsinline();
}

void TZelvar::ChangeScale(int32_t m, int32_t d) {
  auto scale = [m, d](int32_t v) { return ScaleExtent(v, m, d); };
  if (TForm* form = OwnerForm()) {
    // The form sizes per mode are outer sizes: the frame around the client area keeps its size.
    const TPoint wizard = form->ScaleOuterSize({FWizardWidth, FWizardHeight}, m, d);
    const TPoint dialog = form->ScaleOuterSize({FDialogWidth, FDialogHeight}, m, d);
    FWizardWidth = wizard.X;
    FWizardHeight = wizard.Y;
    FDialogWidth = dialog.X;
    FDialogHeight = dialog.Y;
  }
  FTabSpaceX = scale(FTabSpaceX);
  FTabSpaceY = scale(FTabSpaceY);
  FButtonWidth = scale(FButtonWidth);
  FButtonHeight = scale(FButtonHeight);
  FHeaderPad = scale(FHeaderPad);
  TCustomControl::ChangeScale(m, d);
  // Lays the buttons and the tabs out again at their new sizes.
  SetButtonWidth(FButtonWidth);
  SetButtonHeight(FButtonHeight);
  SetTabSpaceX(FTabSpaceX);
}

void TZelvar::KeyDown(uint16_t& key, TShiftState shift) {
  // One position at a time, past the way list and the history; held while an answer is awaited.
  const bool held = Busy();
  if (!held && key == VK_LEFT && FPage > 1) {
    setPage(FPage - 1);
    key = 0;
  } else if (!held && key == VK_RIGHT && FPage < FNumPages) {
    setPage(FPage + 1);
    key = 0;
  }
  if (key != 0) TCustomControl::KeyDown(key, shift);
}

void TZelvar::SetCaption() {
  if (!FSetFormCaption) return;
  TForm* form = OwnerForm();
  if (!form) return;
  int32_t real = RealPage();
  std::string caption;
  if (FShowPageNames) {
    caption = PageName(real);
  } else if (real == 0) {
    caption = FCaptionDialog;
  } else {
    try {
      caption = Format(FCaptionWizard, {FPage, FNumPages});
    } catch (const EConvertError&) {
      // A caption whose placeholders do not fit two numbers is shown as written, rather
      // than stopping the page change half-way.
      caption = FCaptionWizard;
    }
  }
  form->SetCaption(caption);
}

void TZelvar::SetCaptionWizard(const std::string& v) {
  FCaptionWizard = v;
  SetCaption();
}

void TZelvar::SetCaptionDialog(const std::string& v) {
  FCaptionDialog = v;
  if (FPage == 0)
    if (TForm* form = OwnerForm()) form->SetCaption(v);
}

void TZelvar::AnnouncePage() {
  const std::string name = PageName(RealPage());
  if (FPage == 0) {
    Announce(this, name.empty() ? FCaptionDialog : name);
    return;
  }
  std::string text = Format("Step %d of %d", {FPage, FNumPages});
  if (!name.empty()) text += ": " + name;
  Announce(this, text);
}

}  // namespace zelvar
