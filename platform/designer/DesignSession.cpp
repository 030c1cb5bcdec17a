#include "platform/designer/DesignSession.h"

#include <algorithm>
#include <fstream>

#include "platform/core/SysUtils.h"
#include "platform/forms/Forms.h"

namespace zelvar {

TDesignSession::TDesignSession() {
  New();
}

TDesignSession::~TDesignSession() {
  FEditor.reset();
  FForm.reset();
}

void TDesignSession::New() {
  auto form = std::unique_ptr<TForm>(zelvar::New<TForm>(nullptr));
  form->SetFormClassName("TForm1");
  form->SetName("Form1");
  form->SetCaption("Form1");
  form->SetBounds(0, 0, 400, 300);
  FFileName.clear();
  FFormat = TFormFormat::Text;
  Install(std::move(form));
}

void TDesignSession::Open(const std::string& fileName) {
  std::string bytes;
  std::unique_ptr<TForm> form;
  try {
    form.reset(ReadForm(fileName, DesignReadOptions()));
    std::ifstream in(fileName, std::ios::binary);
    bytes.resize(4);
    in.read(bytes.data(), 4);
    bytes.resize(static_cast<size_t>(in.gcount()));
  } catch (const Exception& e) {
    throw EFilerError(e.Message().find(fileName) == std::string::npos
                          ? fileName + ": " + e.Message()
                          : e.Message());
  }
  FFormat = DetectFormFormat(bytes);
  FFileName = fileName;
  Install(std::move(form));
}

void TDesignSession::Install(std::unique_ptr<TForm> form) {
  if (FForm && OnFormClosing) OnFormClosing();
  FEditor.reset();
  FForm = std::move(form);
  FEditor = std::make_unique<TFormEditor>(*FForm);
  FEditor->OnModified = [this] { Record(); };
  FStates = {WriteComponent(FForm.get(), TFormFormat::Binary)};
  FAt = FSavedAt = 0;
  if (OnFormChanged) OnFormChanged();
  if (OnStateChanged) OnStateChanged();
}

void TDesignSession::Record() {
  std::string now = WriteComponent(FForm.get(), TFormFormat::Binary);
  if (now == FStates[FAt]) return;
  FStates.resize(FAt + 1);
  if (FSavedAt > FAt) FSavedAt = SIZE_MAX;  // the saved state was undone and is gone now
  FStates.push_back(std::move(now));
  ++FAt;
  if (FStates.size() > kMaxHistory) {
    FStates.erase(FStates.begin());
    --FAt;
    FSavedAt = FSavedAt == 0 || FSavedAt == SIZE_MAX ? SIZE_MAX : FSavedAt - 1;
  }
  if (OnStateChanged) OnStateChanged();
}

void TDesignSession::Restore(size_t at) {
  // A new form from the state's bytes replaces the old one; the selection follows by name.
  std::vector<std::string> selected;
  for (TPersistent* p : FEditor->Selection())
    if (auto* c = dynamic_cast<TComponent*>(p)) selected.push_back(c->Name());
  std::unique_ptr<TForm> form(
      dynamic_cast<TForm*>(ReadComponent(FStates[at], DesignReadOptions())));
  if (!form) throw EReadError("The designer's history holds no form");
  if (OnFormClosing) OnFormClosing();
  FEditor.reset();
  FForm = std::move(form);
  FEditor = std::make_unique<TFormEditor>(*FForm);
  FEditor->OnModified = [this] { Record(); };
  FAt = at;
  std::vector<TPersistent*> selection;
  for (const std::string& name : selected)
    if (TComponent* c = FForm->FindComponent(name)) selection.push_back(c);
  FEditor->SetSelection(std::move(selection));
  if (OnFormChanged) OnFormChanged();
  if (OnStateChanged) OnStateChanged();
}

void TDesignSession::Undo() {
  if (CanUndo()) Restore(FAt - 1);
}

void TDesignSession::Redo() {
  if (CanRedo()) Restore(FAt + 1);
}

void TDesignSession::Save() {
  if (FFileName.empty()) throw EInvalidOperation("The form has no file yet: save it as a file");
  SaveAs(FFileName, FFormat);
}

void TDesignSession::SaveAs(const std::string& fileName, TFormFormat format) {
  WriteComponentFile(fileName, FForm.get(), format);
  FFileName = fileName;
  FFormat = format;
  FSavedAt = FAt;
  if (OnStateChanged) OnStateChanged();
}

}  // namespace zelvar
