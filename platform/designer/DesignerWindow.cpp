#include "platform/designer/DesignerWindow.h"

#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Paths.h"
#include "platform/core/SysUtils.h"
#include "platform/designer/Palette.h"
#include "platform/designer/PropertyGrid.h"
#include "platform/forms/Dialogs.h"

namespace zelvar {

const TClassInfo& TDesignerWindow::StaticClassInfo() {
  static const auto info = TClassBuilder<TDesignerWindow>("TDesignerWindow").Build();
  return *info;
}

TDesignerWindow::TDesignerWindow(TComponent* owner)
    : TForm(owner),
      FSession(std::make_unique<TDesignSession>()),
      FPalette(new TComponentPalette(this)),
      FGrid(new TPropertyGrid(this)),
      FSurface(new TDesignSurface(this)),
      FMenu(new TPopupMenu(this)),
      FMessages(new TListBox(this)) {
  SetName("ZelvarDesigner");
  SetBounds(0, 0, 1000, 700);
  // Its panes are laid out for 96 pixels per inch; the form it designs keeps its own sizes.
  SetScaled(false);
  FPalette->SetName("DesignerPalette");
  FPalette->SetAlign(alTop);
  FPalette->SetParent(this);
  FGrid->SetName("DesignerProperties");
  FGrid->SetWidth(260);
  FGrid->SetAlign(alLeft);
  FGrid->SetParent(this);
  FMessages->SetName("DesignerMessages");
  FMessages->SetHeight(90);
  FMessages->SetAlign(alBottom);
  FMessages->SetVisible(false);
  FMessages->SetParent(this);
  FSurface->SetName("DesignerSurface");
  FSurface->SetAlign(alClient);
  FSurface->SetParent(this);
  FMenu->SetName("DesignerMenu");
  SetKeyPreview(true);
  OnKeyDown = TKeyEvent([this](TObject* sender, uint16_t& key, TShiftState shift) {
    DesignerKey(sender, key, shift);
  });
  FSession->OnFormClosing = [this] {
    FMenu->Close();
    FSurface->SetForm(nullptr, nullptr);
    FGrid->SetSelection({});
    FGrid->SetDesigner(nullptr);
  };
  FSession->OnFormChanged = [this] { Wire(); };
  FSession->OnStateChanged = [this] { StateChanged(); };
  Wire();
  StateChanged();
  SetActiveControl(FSurface);
}

TDesignerWindow::~TDesignerWindow() {
  FSurface->SetForm(nullptr, nullptr);
  FGrid->SetSelection({});
  FGrid->SetDesigner(nullptr);
  FSession->OnFormClosing = nullptr;
  FSession->OnFormChanged = nullptr;
  FSession->OnStateChanged = nullptr;
  FSession.reset();
}

void TDesignerWindow::Wire() {
  TFormEditor& editor = FSession->Editor();
  editor.CreationClass = [this] { return FPalette->Selected(); };
  editor.OnCreated = [this](TComponent*) { FPalette->SetSelected(nullptr); };
  editor.OnPress = [this] {
    if (FSurface->CanFocus()) FSurface->SetFocus();
  };
  editor.OnContextMenu = [this](TComponent* c, int32_t x, int32_t y) { ShowContextMenu(c, x, y); };
  editor.OnSelectionChanged = [this] { SelectionChanged(); };
  editor.OnError = [this](const std::string& message) { ShowError(message); };
  FSurface->SetForm(&FSession->Form(), &editor);
  FGrid->SetDesigner(&editor);
  SelectionChanged();
}

void TDesignerWindow::SelectionChanged() {
  const auto& sel = FSession->Editor().Selection();
  FGrid->SetSelection(sel.empty() ? std::vector<TPersistent*>{&FSession->Form()} : sel);
  FSurface->Invalidate();
}

void TDesignerWindow::StateChanged() {
  SetCaption(TitleText());
  FGrid->Reload();
  FSurface->Invalidate();
}

std::string TDesignerWindow::TitleText() const {
  std::string file =
      FSession->FileName().empty() ? "Untitled" : ExtractFileName(FSession->FileName());
  return "Zelvar designer - " + file + (FSession->IsModified() ? " *" : "");
}

void TDesignerWindow::Open(const std::string& fileName) {
  FSession->Open(fileName);
}

void TDesignerWindow::ShowError(const std::string& message) {
  MessageDlg(message, mtError, {mbOK}, 0);
}

void TDesignerWindow::Saved() {
  std::vector<std::string> lines =
      CheckOnSave ? CheckOnSave(FSession->Form()) : std::vector<std::string>{};
  FMessages->Items()->Clear();
  for (const std::string& line : lines) FMessages->Items()->Add(line);
  FMessages->SetVisible(!lines.empty());
}

bool TDesignerWindow::Save() {
  if (FSession->FileName().empty()) return SaveAs();
  try {
    FSession->Save();
    Saved();
    return true;
  } catch (const Exception& e) {
    ShowError(e.Message());
    return false;
  }
}

namespace {

// A control of a dialog made in code, named so that scripts can answer the dialog.
template <class T>
T* Place(TForm& dialog, const char* name, const char* caption, TRect r) {
  auto* c = new T(&dialog);
  if (*name) c->SetName(name);
  c->SetParent(&dialog);
  c->SetCaption(caption);
  c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  return c;
}

}  // namespace

bool TDesignerWindow::SaveAs() {
  // A small dialog: the file name and the format.
  TForm dialog(nullptr);
  dialog.SetName("SaveAsDialog");
  dialog.SetCaption("Save form as");
  dialog.SetBorderStyle(bsDialog);
  dialog.SetBounds(0, 0, 380, 170);
  auto* label = Place<TLabel>(dialog, "", "&File name:", {12, 14, 92, 30});
  auto* name = new TEdit(&dialog);
  name->SetName("FileName");
  name->SetParent(&dialog);
  name->SetBounds(12, 32, 346, 22);
  name->SetText(FSession->FileName().empty() ? FSession->Form().Name() + ".txt"
                                             : FSession->FileName());
  label->SetFocusControl(name);
  auto* text = Place<TRadioButton>(dialog, "TextFormat", "&Text (readable, fits version control)",
                                   {12, 64, 312, 82});
  auto* binary = Place<TRadioButton>(dialog, "BinaryFormat", "&Binary", {12, 84, 312, 102});
  (FSession->Format() == TFormFormat::Binary ? binary : text)->SetChecked(true);
  auto* ok = Place<TButton>(dialog, "OK", "OK", {202, 106, 277, 131});
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Place<TButton>(dialog, "Cancel", "Cancel", {283, 106, 358, 131});
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  dialog.SetActiveControl(name);
  if (dialog.ShowModal() != mrOk) return false;
  std::string file = name->Text();
  if (file.empty()) {
    ShowError("No file name given");
    return false;
  }
  try {
    FSession->SaveAs(file, binary->Checked() ? TFormFormat::Binary : TFormFormat::Text);
    Saved();
    return true;
  } catch (const Exception& e) {
    ShowError(e.Message());
    return false;
  }
}

void TDesignerWindow::Undo() {
  try {
    FSession->Undo();
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

void TDesignerWindow::Redo() {
  try {
    FSession->Redo();
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

void TDesignerWindow::RunForm() {
  TFormReadOptions options;
  options.CreateRoot = DesignReadOptions().CreateRoot;
  // The form has no code here: its event names run nothing.
  options.FindHandler = [](const std::string&) -> TGenericHandler { return [](TEventCall&) {}; };
  std::unique_ptr<TForm> form;
  try {
    form.reset(dynamic_cast<TForm*>(ReadComponent(FSession->State(), options)));
  } catch (const Exception& e) {
    ShowError(e.Message());
    return;
  }
  if (!form) return;
  // What goes wrong while it runs is the running form's business, not the designer's.
  TApplication::RunModal(*form);
}

bool TDesignerWindow::CloseQuery() {
  if (!FSession->IsModified()) return true;
  std::string file = FSession->FileName().empty() ? FSession->Form().Name() : FSession->FileName();
  switch (MessageDlg("Save changes to " + file + "?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0)) {
    case mrYes:
      return Save();
    case mrNo:
      return true;
    default:
      return false;
  }
}

void TDesignerWindow::DesignerKey(TObject*, uint16_t& key, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl);
  // In a text field the editing keys are the field's own.
  const bool inEdit = dynamic_cast<TCustomEdit*>(ActiveControl()) != nullptr;
  if (key == VK_F9 && shift.Empty()) {
    key = 0;
    RunForm();
  } else if (ctrl && key == 'S') {
    key = 0;
    if (shift.Contains(ssShift))
      SaveAs();
    else
      Save();
  } else if (ctrl && key == 'Z' && !inEdit) {
    key = 0;
    Undo();
  } else if (ctrl && key == 'Y' && !inEdit) {
    key = 0;
    Redo();
  }
}

void TDesignerWindow::ShowContextMenu(TComponent* component, int32_t x, int32_t y) {
  TFormEditor& editor = FSession->Editor();
  FMenu->Close();
  FMenu->Items().Clear();
  if (component != &FSession->Form()) {
    auto verbs = GetComponentEditor(component, &editor);
    for (int i = 0; i < verbs->GetVerbCount(); ++i)
      // By name: the component may be gone by the time the item is chosen.
      FMenu->Items().Add(verbs->GetVerb(i),
                         TNotifyEvent([this, name = component->Name(), i](TObject*) {
                           TFormEditor& ed = FSession->Editor();
                           TComponent* target = FSession->Form().FindComponent(name);
                           if (!target) return;
                           try {
                             ed.BeginChange();
                             GetComponentEditor(target, &ed)->ExecuteVerb(i);
                             ed.Modified();
                             ed.EndChange();
                           } catch (const Exception& e) {
                             ed.EndChange();
                             ShowError(e.Message());
                           }
                         }));
    if (verbs->GetVerbCount() > 0) FMenu->Items().Add("-");
  }
  auto add = [this](const std::string& caption, std::function<void(TFormEditor&)> run) {
    FMenu->Items().Add(caption, TNotifyEvent([this, run](TObject*) {
                         try {
                           run(FSession->Editor());
                         } catch (const Exception& e) {
                           ShowError(e.Message());
                         }
                       }));
  };
  add("Cu&t", [](TFormEditor& e) { e.DesignKey('X', {ssCtrl}); });
  add("&Copy", [](TFormEditor& e) { e.DesignKey('C', {ssCtrl}); });
  add("&Paste", [](TFormEditor& e) { e.DesignKey('V', {ssCtrl}); });
  add("&Delete", [](TFormEditor& e) { e.DeleteSelection(); });
  FMenu->Items().Add("-");
  add("&Bring to Front", [](TFormEditor& e) { e.BringSelectionToFront(); });
  add("&Send to Back", [](TFormEditor& e) { e.SendSelectionToBack(); });
  add("&Align to Grid", [](TFormEditor& e) { e.AlignSelectionToGrid(); });
  FMenu->Popup(FSession->Form(), x, y);
}

}  // namespace zelvar
