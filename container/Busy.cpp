// Answers that take time: OnCanPageChange defers its answer with BeginBusy, and EndBusy gives
// it later, while the modal loop goes on. Waiting shows on the form (the bar's buttons held, a
// marquee, a busy pointer); Cancel or closing the window abandons the change.

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "container/ZelvarA.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

constexpr int32_t kBusyBarHeight = 16;
constexpr int32_t kBusyBarMaxWidth = 200;
constexpr int32_t kBusyBarGap = 8;

}  // namespace

void TZelvar::BeginBusy() {
  const std::string name = FormName(*this);
  if (FPending)
    throw EInvalidOperation(name + ": BeginBusy while a page change already waits for EndBusy");
  if (!FAsking)
    throw EInvalidOperation(name +
                            ": BeginBusy defers the answer of OnCanPageChange; call it "
                            "from that handler");
  auto pending = std::make_unique<TPendingChange>();
  pending->Kind = FAsking->Kind;
  pending->From = FPage;
  pending->Requested = FAsking->Requested;
  pending->Target = FAsking->Requested;
  pending->PreparedLastWizardPage = FLastWizardPage;
  pending->Prepared.Assign(FHistory.get());
  FPending = std::move(pending);
  FBusyAbandoned = false;
  ShowBusy(true);
}

void TZelvar::EndBusy(bool allow) {
  if (!FPending) {
    // The application's check may still answer after Cancel abandoned it: that is no error.
    if (std::exchange(FBusyAbandoned, false)) return;
    throw EInvalidOperation(FormName(*this) + ": EndBusy without a page change waiting for it");
  }
  if (!FPending->Deferred)
    throw EInvalidOperation(FormName(*this) +
                            ": EndBusy inside OnCanPageChange; return the answer instead");
  std::unique_ptr<TPendingChange> pending = std::move(FPending);
  ShowBusy(false);
  if (allow) CompletePending(*pending);
}

void TZelvar::DropPending() {
  FPending.reset();
  ShowBusy(false);
}

void TZelvar::AbandonPending() {
  const int32_t page = FPage;
  DropPending();
  FBusyAbandoned = true;
  if (OnBusyCancel) OnBusyCancel(this, page);
}

bool TZelvar::HeldWhileBusy(const TControl& button) const {
  return FPending && &button != FCancelButton && &button != FHelpButton;
}

void TZelvar::ShowBusy(bool busy) {
  if (busy && !FBusyBar) {
    FBusyBar = New<TProgressBar>(this);
    FBusyBar->SetName("BusyBar");
    FBusyBar->SetStyle(pbstMarquee);
    FBusyBar->SetParent(this);
  } else if (!busy && FBusyBar) {
    // Gone rather than hidden: the container's children stay what the form file gives.
    delete FBusyBar;
  }
  if (TForm* form = OwnerForm()) form->SetOverrideCursor(busy ? crAppStarting : crDefault);
  ShowButtons();
  PlaceBusyBar();
}

void TZelvar::PlaceBusyBar() {
  if (!FBusyBar) return;
  const int32_t buttonHeight = FCancelButton ? FCancelButton->Height() : FButtonHeight;
  const int32_t top = Height() - 3 - buttonHeight / 2 - kBusyBarHeight / 2 - 1;
  const int32_t left = FBarFreeLeft + kBusyBarGap;
  const int32_t width = std::clamp(FBarFreeRight - kBusyBarGap - left, 0, kBusyBarMaxWidth);
  FBusyBar->SetBounds(left, top, width, kBusyBarHeight);
}

}  // namespace zelvar
