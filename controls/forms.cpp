// TAForm: a page-bound box that shows a whole form, obtained from the application through
// OnGetForm when its form file is loaded or when a page that shows it is entered, and freed
// by the host (in one mode also whenever a page hides it).

#include "platform/forms/Forms.h"
#include "controls/ZelvarC.h"

namespace zelvar {

const TClassInfo& TAForm::StaticClassInfo() {
  static const auto info = TClassBuilder<TAForm>("TAForm")
                               .Property("FormCreate", &TAForm::FormCreate, &TAForm::SetFormCreate)
                               .Property("OnGetForm", &TAForm::OnGetForm, &TAForm::OnGetForm)
                               .Property("OnFreeForm", &TAForm::OnFreeForm, &TAForm::OnFreeForm)
                               .Publish("OnEnter", "OnExit")
                               .Public("HostedForm", &TAForm::HostedForm)
                               .Build();
  return *info;
}

TAForm::TAForm(TComponent* owner) : TABox(owner) {
  FForm = nullptr;
}

TAForm::~TAForm() {
  FreeForm();
}

void TAForm::Notification(TComponent* component, TOperation operation) {
  TABox::Notification(component, operation);
  // A hosted form freed by someone else is no longer held.
  if (operation == opRemove && component == FForm) FForm = nullptr;
}

void TAForm::GetForm() {
  if (!OnGetForm) return;
  TForm* form = OnGetForm();
  // The host frees what it holds: it must never hold a form it stands on.
  for (TControl* c = this; c && form; c = c->Parent())
    if (c == form) throw EInvalidOperation(Name() + " cannot host the form it stands on");
  FForm = form;
  if (FForm) FreeNotification(FForm);
}

void TAForm::Embed() {
  FForm->SetBorderStyle(bsNone);
  FForm->SetWindowState(wsMaximized);
  FForm->SetParent(this);
  FForm->SetVisible(true);
}

void TAForm::FreeForm() {
  if (!FForm) return;
  TForm* form = FForm;
  if (OnFreeForm) OnFreeForm(this, form);
  // The handler may have freed it itself; then Notification has cleared FForm.
  if (FForm != form) return;
  FForm = nullptr;
  RemoveFreeNotification(form);
  delete form;
}

void TAForm::Loaded() {
  TABox::Loaded();
  if (FFormCreate != fcOnCreate) return;
  GetForm();
  if (FForm) Embed();
}

void TAForm::SetNewPosition(int32_t n) {
  const TAposRec& rec = FAposList->Record(n);
  if (rec.Shown == 1 && !FForm) {
    GetForm();
    if (FForm) {
      FForm->SetVisible(false);
      Embed();
    }
  }
  if (rec.Shown != 1 && FFormCreate == fcOnDemandFree) FreeForm();
  TABox::SetNewPosition(n);
}

void TAForm::SetName(const std::string& name) {
  TABox::SetName(name);
  Repaint();
}

void TAForm::Paint() {
  TABox::Paint();
  if (!IsDesigning()) return;
  TCanvas& c = *Canvas();
  c.Pen()->SetStyle(psSolid);
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(0, 0, Width(), Height());
  const std::string& name = Name();
  c.TextOut(Width() / 2 - c.TextWidth(name) / 2, Height() / 2 - c.TextHeight(name) / 2, name);
}

}  // namespace zelvar
