// Page navigation: setPage, the actions of the navigation buttons, the way list and the
// history, jumps, Execute, and the two broadcasts that page-bound controls receive.

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

#include "container/PageBoundNames.h"
#include "container/ZelvarA.h"
#include "platform/core/ClassCache.h"
#include "platform/core/Format.h"
#include "platform/core/ScopeGuard.h"
#include "platform/designer/Designer.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

// Pages far beyond any real wizard are refused: every page-bound control keeps a record per
// page, so a count read from a damaged file must not make the form allocate gigabytes.
constexpr int32_t kMaxPages = 100000;

// page + delta as a page number; a sum outside the integer range is no page at all.
int32_t OffsetPage(int32_t page, int64_t delta) {
  int64_t r = int64_t{page} + delta;
  if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
    throw EListError(Format("Page %d moved by %d is out of range", {page, delta}));
  return static_cast<int32_t>(r);
}

// Takes back the history entry an action appended, when the change did not happen.
void DropLast(TIntegerList& history) {
  if (history.Count() > 0) history.Del(history.Count() - 1);
}

}  // namespace

// The way-list entry of a position, with a message that names the position when there is none.
static const TPageRec& WayEntry(const TPageList& list, int32_t position) {
  if (position < 1 || position > list.EntryCount())
    throw EListError(Format("The way list has no entry for position %d (it holds %d)",
                            {position, list.EntryCount()}));
  return list.Entry(position - 1);
}

int32_t TZelvar::GetRealPage(int32_t page) const {
  if (!FWayListEnabled || page == 0) return page;
  return WayEntry(*FWayList, page).Number;
}

// ---------------------------------------------------------------------------------------------
// The page change as a transaction

struct TZelvar::TPageTargets {
  TClassCache<TPlaceRoles> Classes;  // the entries the list points to
  TBroadcastList List;
  // What the form was when the list was made; without a list, nothing matches.
  size_t FormCount = SIZE_MAX;
  uint64_t Removals = 0;
};

class TZelvar::TPageChange {
 public:
  explicit TPageChange(TZelvar& zelvar)
      : FZelvar(zelvar),
        FPage(zelvar.FPage),
        FLastWizardPage(zelvar.FLastWizardPage),
        FOutermost(zelvar.FChangeDepth++ == 0),
        FExceptions(std::uncaught_exceptions()) {
    FHistory.Assign(zelvar.FHistory.get());
  }
  ~TPageChange() {
    --FZelvar.FChangeDepth;
    // A change whose answer was deferred leaves things as the action found them: the action
    // is finished by EndBusy, from what it had prepared.
    if (FOutermost && std::uncaught_exceptions() == FExceptions) Defer();
  }
  TPageChange(const TPageChange&) = delete;
  TPageChange& operator=(const TPageChange&) = delete;

  // The new page is being applied to the form: undoing must show the saved one again.
  void Applying() { FApplied = true; }

 private:
  void Defer() noexcept {
    TZelvar& z = FZelvar;
    if (!z.FPending || z.FPending->Deferred) return;
    z.FPending->Before.Assign(&FHistory);
    z.FHistory->Assign(&FHistory);
    z.FLastWizardPage = FLastWizardPage;
    z.FPending->Deferred = true;
  }

  void Undo() noexcept {
    TZelvar& z = FZelvar;
    // A failure after BeginBusy: nothing waits any more.
    if (z.FPending && !z.FPending->Deferred) try {
        z.DropPending();
      } catch (...) {
        // The wait is over all the same; the original failure is the one to hear of.
      }
    const int32_t failed = z.FPage;
    z.FPage = FPage;
    z.FLastWizardPage = FLastWizardPage;
    z.FHistory->Assign(&FHistory);
    try {
      const int32_t shown = z.GetRealPage(FPage);
      if (FApplied || failed != FPage) {
        TPageTargets targets;  // none gathered: the broadcast finds its own
        z.ApplyPage(failed, shown, targets);
      } else {
        z.UpdateBackAndNext(shown);
        z.ShowButtons();
      }
    } catch (...) {
      // The failure that started the undo is the one the caller hears of; the page was shown
      // before, so a second failure here means a control broke in between.
    }
    z.FButtonsReady = true;
  }

  TZelvar& FZelvar;
  const int32_t FPage;
  const int32_t FLastWizardPage;
  TIntegerList FHistory;
  const bool FOutermost;
  const int FExceptions;
  bool FApplied = false;
  // Left by an exception: the change did not happen. Last, so it runs while the rest is whole.
  struct TUndo {
    TPageChange* Change;
    void operator()() const noexcept { Change->Undo(); }
  };
  TOnFailure<TUndo> FOnFailure{TUndo{this}};
};

void TZelvar::CheckShowable(int32_t shown, TPageTargets& targets) const {
  if (shown < 0 || shown > FNumPages)
    throw EListError(
        Format("Page %d does not exist: the wizard has pages 0 to %d", {shown, FNumPages}));
  // While the form is read, its controls' position lists are still arriving; the reader
  // checks them once they are complete.
  TComponent* form = Owner();
  if (!form || IsReading()) return;
  // One walk looks each component's class up once, for the check and for the broadcast.
  const std::vector<TComponent*>& components = form->Components();
  targets.List.reserve(components.size());
  for (TComponent* c : components) {
    const TPlaceRoles& roles = targets.Classes.For(c->ClassInfo());
    roles.CheckPlace(*c, shown);
    if (roles.Method) targets.List.push_back({c, &roles});
  }
  targets.FormCount = components.size();
  targets.Removals = FRemovals;
}

bool TZelvar::CanShowPosition(int32_t position) const {
  int32_t shown = position;
  if (FWayListEnabled && position > 0) {
    if (position > FWayList->EntryCount()) return false;
    shown = FWayList->Entry(position - 1).Number;
  }
  return shown >= 0 && shown <= FNumPages;
}

void TZelvar::setPage(int32_t value) {
  TPageChange change(*this);
  TQuestion question{std::exchange(FRequestKind, TRequestKind::Page), value};
  // The answer EndBusy gives is for this change only, not for one its handlers start.
  const int32_t* answer = std::exchange(FAnswer, nullptr);
  int32_t newPage = value;
  FPageChangeAllowed = true;
  if (answer) {
    newPage = *answer;
  } else if (OnCanPageChange && !IsReading()) {
    TRestore<TQuestion*> asking(FAsking, &question);
    FPageChangeAllowed = OnCanPageChange(this, FPage, newPage);
  }
  if (FPending && !FPending->Deferred) {
    // The handler called BeginBusy: the answer comes with EndBusy.
    FPending->Target = newPage;
    FPageChangeAllowed = false;
  }
  if (FPageChangeAllowed) {
    // The page shown follows the position actually taken, also when the event redirected it.
    // A target that cannot be shown fails here, before anything has changed.
    int32_t shown = FWayListEnabled && newPage > 0 ? WayEntry(*FWayList, newPage).Number : newPage;
    if (shown == -1) {
      if (TForm* form = OwnerForm()) form->SetModalResult(mrOk);
    } else {
      TPageTargets targets;
      CheckShowable(shown, targets);
      int32_t oldPage = FPage;
      FPage = newPage;
      change.Applying();
      ApplyPage(oldPage, shown, targets);
      if ((FPage != oldPage || FPage == 0) && OnPageChange && !IsReading())
        OnPageChange(this, FPage);
      if (FPage != oldPage && !IsDesigning()) AnnouncePage();
      if (!IsDesigning() && FStyle == asWizard) FocusPage();
    }
  }
  TellDesignerModified();
}

void TZelvar::ApplyPage(int32_t from, int32_t shown, TPageTargets& targets) {
  SetCaption();
  std::exception_ptr failure;
  if (TForm* form = OwnerForm()) {
    {
      TRestore<bool> recording(FRecordSize, false);
      if (shown == 0 && from != 0)
        myresize(FDialogWidth, FDialogHeight);
      else if (shown != 0 && from == 0)
        myresize(FWizardWidth, FWizardHeight);
    }
    // Resizing runs the form's handlers, which may add or free components: then the targets
    // are gathered again, as the form holds them now.
    const std::vector<TComponent*>& components = form->Components();
    if (targets.Removals != FRemovals || targets.FormCount != components.size()) {
      targets.List.clear();
      for (TComponent* c : components)
        if (const TPlaceRoles& roles = targets.Classes.For(c->ClassInfo()); roles.Method)
          targets.List.push_back({c, &roles});
    }
    failure = Broadcast(std::move(targets.List), shown);
  }
  // Every control hears of the page, and the bar is brought up to date, before a control's
  // failure is raised: the undo that follows starts from a consistent form.
  {
    TRestore<bool> quiet(FButtonsReady, false);
    UpdateBackAndNext(shown);
  }
  FButtonsReady = true;
  FPageComplete = EvaluatePageComplete();
  ShowButtons();
  if (FStyle == asTabbed) RepaintTabs();
  if (failure) std::rethrow_exception(failure);
}

void TZelvar::UpdateBackAndNext(int32_t shown) {
  FBtnBack->SetEnabled(BackTarget() >= 0);
  if (FWayListEnabled) {
    if (FPage > 0) FBtnNext->SetEnabled(WayEntry(*FWayList, FPage).GotoPage != gpFinish);
  } else {
    FBtnNext->SetEnabled(shown != FNumPages);
  }
}

void TZelvar::TellDesignerModified() {
  if (!IsDesigning()) return;
  if (TForm* form = OwnerForm())
    if (IDesigner* designer = form->Designer()) designer->Modified();
}

void TZelvar::UpdateDesigner() {
  if (TForm* form = OwnerForm())
    if (IDesigner* designer = form->Designer()) designer->SelectComponent(this);
}

// ---------------------------------------------------------------------------------------------
// The broadcasts

std::exception_ptr TZelvar::Broadcast(TBroadcastList targets, int32_t n) {
  // The list is the walk's own, so components that come or go while the calls run cannot
  // upset it; one that goes is struck out by Notification before it could be reached.
  TBroadcastFrame frame{&targets, FBroadcasts};
  TRestore<TBroadcastFrame*> nested(FBroadcasts, &frame);
  std::exception_ptr failure;
  for (size_t i = targets.size(); i-- > 0;) {
    const TBroadcastTarget& t = targets[i];
    if (!t.Component) continue;
    try {
      t.Method->Call(t.Component, n);
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  return failure;
}

std::exception_ptr TZelvar::BroadcastNumApos(int32_t n) {
  TComponent* form = Owner();
  if (!form) return {};
  TClassCache<TNumAposMethod> classes;
  TBroadcastList targets;
  for (TComponent* c : form->Components())
    if (const TNumAposMethod& m = classes.For(c->ClassInfo()); m.Method) targets.push_back({c, &m});
  return Broadcast(std::move(targets), n);
}

// ---------------------------------------------------------------------------------------------
// The navigation buttons

void TZelvar::Nextclick(TObject*) {
  if (Busy()) return;
  if (IsDesigning()) UpdateDesigner();
  // Code and scripts go on no more than the disabled button would.
  UpdatePageComplete();
  if (!FPageComplete) return;
  int32_t p = FPage;
  int32_t target;
  if (FWayListEnabled) {
    // The dialog page has no way-list entry, and the button bar offers no Next there.
    if (p <= 0) return;
    int32_t g = WayEntry(*FWayList, p).GotoPage;
    if (g == gpNext) {
      target = getjumppage();
    } else if (g == gpFinish) {
      target = -1;
    } else if (g == gpAsk) {
      target = OffsetPage(p, 1);
      if (OnAskPageChange) OnAskPageChange(this, p, target);
    } else {
      target = g;
    }
  } else {
    target = p < FNumPages ? getjumppage() : -1;
  }
  TPageChange change(*this);
  bool appended = target != p && target != -1 && FUseHistory;
  if (appended) FHistory->Add(p);
  FRequestKind = TRequestKind::Next;
  setPage(target);
  if (!FPageChangeAllowed && appended) DropLast(*FHistory);
  CommitLeft(p);
  if (IsDesigning()) Deselect();
}

void TZelvar::Backclick(TObject*) {
  if (Busy()) return;
  if (IsDesigning()) UpdateDesigner();
  if (int32_t target = BackTarget(); target >= 0) {
    if (FUseHistory) {
      BackTo(target);
    } else {
      TPageChange change(*this);
      setPage(target);
    }
  }
  if (IsDesigning()) Deselect();
}

int32_t TZelvar::BackStopOf(int32_t position) const {
  if (!FUseHistory) return -1;
  for (int i = std::min(FHistory->Count(), FHistory->ItemCount()); i-- > 0;)
    if (FHistory->GetInteger(i) == position) return Lists(*FSkipOnBack, position) ? -1 : i;
  return -1;
}

void TZelvar::BackTo(int32_t index) {
  if (index < 0 || index >= std::min(FHistory->Count(), FHistory->ItemCount()))
    throw EListError(Format("History index out of bounds (%d)", {index}));
  const int32_t p = FHistory->GetInteger(index);
  if (Lists(*FSkipOnBack, p))
    throw EListError(Format("Back passes over position %d (SkipOnBack)", {p}));
  if (Busy()) return;
  TPageChange change(*this);
  // The entry gone back to goes, and with it the skipped ones after it; a veto or a redirect
  // keeps them all, as Back did not lead where the history said.
  TIntegerList before;
  before.Assign(FHistory.get());
  while (FHistory->Count() > index) DropLast(*FHistory);
  FRequestKind = TRequestKind::Back;
  setPage(p);
  if (!FPageChangeAllowed || FPage != p) {
    FHistory->Assign(&before);
    FBtnBack->SetEnabled(BackTarget() >= 0);
  }
}

bool TZelvar::Lists(const TIntegerList& pages, int32_t position) const {
  if (!CanShowPosition(position)) return false;
  const int32_t shown = GetRealPage(position);
  if (shown < 1) return false;
  const int count = std::min(pages.Count(), pages.ItemCount());
  for (int i = 0; i < count; ++i)
    if (pages.GetInteger(i) == shown) return true;
  return false;
}

int32_t TZelvar::BackTarget() const {
  if (FUseHistory) {
    for (int i = std::min(FHistory->Count(), FHistory->ItemCount()); i-- > 0;)
      if (!Lists(*FSkipOnBack, FHistory->GetInteger(i))) return i;
  } else {
    // Without a history, a commit page below is where stepping down ends: Back never crosses it.
    for (int32_t p = FPage - 1; p >= 1 && !Lists(*FCommitPages, p); --p)
      if (!Lists(*FSkipOnBack, p)) return p;
  }
  return -1;
}

void TZelvar::CommitLeft(int32_t from) {
  if (!FPageChangeAllowed || FPage == from || !Lists(*FCommitPages, from)) return;
  ClearHistory();
  if (OnCommit) OnCommit(this, GetRealPage(from));
}

void TZelvar::Changeclick(TObject*) {
  if (Busy()) return;
  if (IsDesigning()) UpdateDesigner();
  TPageChange change(*this);
  if (FPage > 0) {
    FLastWizardPage = FPage;
    setPage(0);
  } else if (FRememberPage) {
    setPage(FLastWizardPage);
  } else {
    FHistory->Clear();
    setPage(FStartPage);
  }
  if (IsDesigning()) Deselect();
}

void TZelvar::OKClick(TObject*) {
  if (Busy()) return;
  UpdatePageComplete();
  if (!FPageComplete) return;
  setPage(-1);
}

void TZelvar::CancelClick(TObject*) {
  if (Busy()) AbandonPending();
  if (OnCancelClick && !OnCancelClick(this, FPage)) return;
  if (!ConfirmDiscard()) return;
  FCancelled = true;
  if (TForm* form = OwnerForm()) form->SetModalResult(mrCancel);
}

void TZelvar::HelpClick(TObject*) {
  if (OnHelpClick) OnHelpClick(this, FPage);
  if (IsDesigning()) Deselect();
}

void TZelvar::NextRightDown(TObject*, TMouseButton button, TShiftState, int32_t, int32_t) {
  if (!IsDesigning() || button != mbRight) return;
  if (FPage < FNumPages) setPage(FPage + 1);
  UpdateDesigner();
}

void TZelvar::BackRightDown(TObject*, TMouseButton button, TShiftState, int32_t, int32_t) {
  if (!IsDesigning() || button != mbRight) return;
  setPage(OffsetPage(FPage, -1));
  UpdateDesigner();
}

// ---------------------------------------------------------------------------------------------
// Required input

namespace {

// Whether every control marked Required that shows within parent (visible and enabled down
// from it) has its input. Hidden or disabled branches are not entered: a page-bound panel of
// another page hides itself, and what it holds does not count.
bool RequiredGiven(const TWinControl& parent) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    const TControl* c = parent.Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->Required() && !c->InputSatisfied()) return false;
    if (auto* w = dynamic_cast<const TWinControl*>(c); w && !RequiredGiven(*w)) return false;
  }
  return true;
}

}  // namespace

bool TZelvar::EvaluatePageComplete() {
  if (IsDesigning() || IsReading() || IsDestroying()) return true;
  TForm* form = OwnerForm();
  bool complete = !form || RequiredGiven(*form);
  if (OnPageComplete) OnPageComplete(this, FPage, complete);
  return complete;
}

void TZelvar::UpdatePageComplete() {
  if (IsDestroying()) return;
  const bool complete = EvaluatePageComplete();
  if (complete == FPageComplete) return;
  FPageComplete = complete;
  ShowButtons();
}

void TZelvar::FormInputChanged(TControl*) {
  // While a page change tells the controls of the page, they show and hide: the change
  // evaluates the page once they are done.
  if (FBroadcasts) return;
  UpdatePageComplete();
}

// ---------------------------------------------------------------------------------------------
// Jumps, Execute and the history

void TZelvar::Jump(int32_t page) {
  TPageChange change(*this);
  const int32_t from = FPage;
  if (FUseHistory) FHistory->Add(from);
  FRequestKind = TRequestKind::Jump;
  setPage(page);
  CommitLeft(from);
}

// Finishes a change EndBusy allowed as its action would have (Busy.cpp holds the rest of the wait).
void TZelvar::CompletePending(const TPendingChange& pending) {
  TPageChange change(*this);
  FHistory->Assign(&pending.Prepared);
  FLastWizardPage = pending.PreparedLastWizardPage;
  {
    TRestore<const int32_t*> answer(FAnswer, &pending.Target);
    setPage(pending.Requested);
  }
  // What the action does once the change took place.
  switch (pending.Kind) {
    case TRequestKind::Next:
    case TRequestKind::Jump:
      CommitLeft(pending.From);
      break;
    case TRequestKind::Back:
      // A redirect keeps the entries Back would have dropped.
      if (FPage != pending.Requested) {
        FHistory->Assign(&pending.Before);
        FBtnBack->SetEnabled(BackTarget() >= 0);
      }
      break;
    case TRequestKind::Page:
      break;
  }
}

void TZelvar::JumpRel(int32_t offset) {
  Jump(OffsetPage(FPage, offset));
}

void TZelvar::ModalStarted() {
  // Execute took them before it restored a saved state.
  if (FKeepStartValues) return;
  if (Owner()) FStartValues = CaptureInputValues(*Owner());
}

bool TZelvar::CanCloseForm() {
  // A form that is not shown has nobody to ask, nor anything typed to lose.
  TForm* form = OwnerForm();
  if (!form || !form->IsShown()) return true;
  if (Busy()) AbandonPending();
  // With a state kept for the next run, closing loses nothing.
  return !FResumeFile.empty() || ConfirmDiscard();
}

bool TZelvar::ConfirmDiscard() const {
  if (IsDesigning() || FConfirmCancel == ccNever) return true;
  if (FConfirmCancel == ccIfModified && (!Owner() || CaptureInputValues(*Owner()) == FStartValues))
    return true;
  return MessageDlg("Discard the changes you made?", mtConfirmation, {mbYes, mbNo}) == mrYes;
}

void TZelvar::ClearHistory() {
  FHistory->Clear();
  FBtnBack->SetEnabled(false);
  ShowButtons();
}

int32_t TZelvar::getjumppage() const {
  // The first enabled, checked jump radio button of the form decides; one that a designer
  // holds inert does not, nor does a target of -1.
  if (TComponent* form = Owner()) {
    TClassCache<TJumpRoles> classes;
    for (TComponent* c : form->Components())
      if (auto target = classes.For(c->ClassInfo()).Choice(*c, FPage); target && *target != -1)
        return *target;
  }
  return OffsetPage(FPage, 1);
}

// ---------------------------------------------------------------------------------------------
// Setters that touch the page

void TZelvar::SetNumPages(int32_t n) {
  if (n > kMaxPages)
    throw EListError(Format("NumPages %d is out of range (at most %d)", {n, kMaxPages}));
  std::exception_ptr failure;
  if (n > 0) {
    if (n > FNumPages) {
      for (int32_t i = FNumPages + 1; i <= n; ++i) FPageNames->Add("Page " + std::to_string(i));
    } else {
      // Lines a caller's list never had are not there to delete.
      for (int32_t i = FNumPages; i >= n + 1; --i)
        if (i < FPageNames->Count()) FPageNames->Delete(i);
    }
    failure = BroadcastNumApos(n + 1);
    FNumPages = n;
    // Back must never lead to a page that is gone.
    bool dropped = false;
    for (int i = FHistory->ItemCount(); i-- > 0;)
      if (!CanShowPosition(FHistory->GetInteger(i))) {
        FHistory->Del(i);
        dropped = true;
      }
    if (dropped) FBtnBack->SetEnabled(BackTarget() >= 0);
    if (FPage != 0) {
      SetCaption();
      ShowButtons();
    }
    // With the way list, positions run up to its number of entries.
    int32_t last = FWayListEnabled ? FWayList->EntryCount() : FNumPages;
    if (last < FPage) setPage(last);
  }
  if (FStyle == asTabbed) {
    inittabsinline();
    Refresh();
  }
  if (failure) std::rethrow_exception(failure);
}

void TZelvar::SetStartPage(int32_t v) {
  FStartPage = v;
  if (FHistory->Count() == 0 || !FUseHistory) FLastWizardPage = v;
}

void TZelvar::SetWayListEnabled(bool v) {
  FWayListEnabled = v;
  zelvarupdate();
}

void TZelvar::SetStyle(ZelvarStyle v) {
  if (v == asTabbed) {
    inittabsinline();
    if (FPage == 0) setPage(1);
  } else {
    FTabRows.reset();
  }
  FStyle = v;
  ShowButtons();
  Refresh();
}

}  // namespace zelvar
