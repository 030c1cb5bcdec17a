#include "platform/forms/Dialogs.h"

#include <algorithm>
#include <memory>

#include "platform/controls/Image.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ToolkitRes.h"

namespace zelvar {

namespace {

struct TButtonKind {
  TMsgDlgBtn Button;
  const char* Name;
  const char* Caption;
  TModalResult Result;
};

constexpr TButtonKind kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},
    {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},
    {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore},
    {mbAll, "All", "&All", mrAll},
    {mbHelp, "Help", "&Help", mrNone},
};

// The box's caption and the toolkit's icon for each type; a custom message has neither.
struct TTypeLook {
  const char* Title;
  const char* Icon;
};

TTypeLook LookOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return {"Warning", "IDI_WARNING"};
    case mtError:
      return {"Error", "IDI_ERROR"};
    case mtInformation:
      return {"Information", "IDI_INFORMATION"};
    case mtConfirmation:
      return {"Confirm", "IDI_QUESTION"};
    default:
      return {"", nullptr};
  }
}

}  // namespace

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int32_t) {
  if (buttons.Empty()) buttons.Include(mbOK);
  std::unique_ptr<TForm> form(New<TForm>(nullptr));
  form->SetFormClassName("TMessageForm");
  form->SetBorderStyle(bsDialog);
  form->SetCaption(LookOf(type).Title);

  constexpr int32_t kMargin = 12, kButtonWidth = 75, kButtonHeight = 25, kGap = 8;
  // The icon stands at the left and the text beside it, centred on the icon when it is the
  // shorter of the two.
  TImage* icon = nullptr;
  if (const char* name = LookOf(type).Icon) {
    icon = New<TImage>(form.get());
    icon->SetName("Image");
    icon->SetAutoSize(true);
    icon->SetTransparent(true);
    icon->Picture()->Bitmap()->LoadFromResource(LoadBitmapA(ToolkitModule(), name));
    icon->SetParent(form.get());
    icon->SetLeft(kMargin);
    icon->SetTop(kMargin);
  }
  auto* label = New<TLabel>(form.get());
  label->SetName("Message");
  label->SetCaption(message);
  label->SetParent(form.get());
  const int32_t iconWidth = icon ? icon->Width() + kMargin : 0;
  const int32_t iconHeight = icon ? icon->Height() : 0;
  label->SetBounds(kMargin + iconWidth, kMargin + std::max(0, (iconHeight - label->Height()) / 2),
                   label->Width(), label->Height());

  std::vector<TButton*> made;
  for (const TButtonKind& kind : kButtons) {
    if (!buttons.Contains(kind.Button)) continue;
    auto* b = New<TButton>(form.get());
    b->SetName(kind.Name);
    b->SetCaption(kind.Caption);
    b->SetModalResult(kind.Result);
    b->SetParent(form.get());
    made.push_back(b);
  }
  // The first button answers Enter; Cancel (or else No) answers Escape.
  made.front()->SetDefault(true);
  for (const char* name : {"Cancel", "No"}) {
    if (auto* b = dynamic_cast<TButton*>(form->FindComponent(name))) {
      b->SetCancel(true);
      break;
    }
  }
  int32_t rowWidth = static_cast<int32_t>(made.size()) * (kButtonWidth + kGap) - kGap;
  int32_t width = std::max(rowWidth, iconWidth + label->Width()) + 2 * kMargin;
  int32_t top = std::max(kMargin + iconHeight, label->Top() + label->Height()) + kMargin;
  form->SetClientWidth(width);
  form->SetClientHeight(top + kButtonHeight + kMargin);
  int32_t x = (width - rowWidth) / 2;
  for (TButton* b : made) {
    b->SetBounds(x, top, kButtonWidth, kButtonHeight);
    x += kButtonWidth + kGap;
  }
  form->SetPosition(poScreenCenter);
  try {
    return form->ShowModal();
  } catch (const ENoInput&) {
    // Nobody can answer the box: what it says is the error worth reporting.
    throw ENoInput(message + " (a message box with no input left to answer it)");
  }
}

}  // namespace zelvar
