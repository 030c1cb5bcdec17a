// Saving a wizard's state and resuming it: what Execute restores when a wizard closed
// half-way is run again.

#include <algorithm>
#include <string>
#include <utility>

#include "container/ZelvarA.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/core/IniFiles.h"
#include "platform/core/Paths.h"
#include "platform/core/ScopeGuard.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

namespace {

constexpr const char* kStreamSection = "State";

// The form sizes a state keeps are at the pixels per inch the form was designed at, so that a
// wizard closed on one screen opens as large on a finer one. They are outer sizes: the frame
// keeps its size, as when the form is scaled.
void RescaleSizes(const TForm* form, int32_t& w, int32_t& h, bool toDesigned) {
  if (!form || form->ShownPixelsPerInch() == form->PixelsPerInch()) return;
  const int32_t designed = form->PixelsPerInch(), shown = form->ShownPixelsPerInch();
  const TPoint size = toDesigned ? form->ScaleOuterSize({w, h}, designed, shown)
                                 : form->ScaleOuterSize({w, h}, shown, designed);
  w = size.X;
  h = size.Y;
}

}  // namespace

TWizardState TZelvar::State() const {
  TWizardState state;
  state.Page = FPage;
  state.LastWizardPage = FLastWizardPage;
  for (int i = 0, n = std::min(FHistory->Count(), FHistory->ItemCount()); i < n; ++i)
    state.History.push_back(FHistory->GetInteger(i));
  state.WizardWidth = FWizardWidth;
  state.WizardHeight = FWizardHeight;
  state.DialogWidth = FDialogWidth;
  state.DialogHeight = FDialogHeight;
  RescaleSizes(OwnerForm(), state.WizardWidth, state.WizardHeight, true);
  RescaleSizes(OwnerForm(), state.DialogWidth, state.DialogHeight, true);
  if (const TComponent* form = Owner()) state.Values = CaptureInputValues(*form);
  return state;
}

void TZelvar::ApplyState(const TWizardState& state) {
  if (TComponent* form = Owner()) {
    const TInputValues before = CaptureInputValues(*form);
    try {
      ApplyInputValues(*form, state.Values);
    } catch (const EConvertError&) {
      ApplyInputValues(*form, before);
      throw;
    }
  }
  // 0 is a size the wizard never recorded: the form's own stays.
  if (state.WizardWidth > 0 && state.WizardHeight > 0) {
    FWizardWidth = state.WizardWidth;
    FWizardHeight = state.WizardHeight;
    RescaleSizes(OwnerForm(), FWizardWidth, FWizardHeight, false);
  }
  if (state.DialogWidth > 0 && state.DialogHeight > 0) {
    FDialogWidth = state.DialogWidth;
    FDialogHeight = state.DialogHeight;
    RescaleSizes(OwnerForm(), FDialogWidth, FDialogHeight, false);
  }
  if (CanShowPosition(state.Page)) setPage(state.Page);
  // A page change resizes only between the modes; the mode shown takes its saved size here.
  if (FPage == 0 ? FDialogWidth > 0 : FWizardWidth > 0)
    myresize(FPage == 0 ? FDialogWidth : FWizardWidth, FPage == 0 ? FDialogHeight : FWizardHeight);
  FHistory->Clear();
  for (int32_t p : state.History)
    if (CanShowPosition(p)) FHistory->Add(p);
  if (state.LastWizardPage > 0 && CanShowPosition(state.LastWizardPage))
    FLastWizardPage = state.LastWizardPage;
  UpdateBackAndNext(GetRealPage(FPage));
  ShowButtons();
}

void TZelvar::SaveState(TStream& stream) const {
  stream.WriteBuffer(ReplaceIniSection("", kStreamSection, WizardStatePairs(State())));
}

void TZelvar::LoadState(TStream& stream) {
  const std::string text = stream.ReadAll();
  if (text.size() > TIniFile::kMaxIniFileSize)
    throw EReadError("Wizard state: the stream is larger than any saved state");
  ApplyState(ReadWizardState(TIniFile::FromText(text, "the stream"), kStreamSection));
}

void TZelvar::SaveStateToIni(const std::string& fileName, const std::string& section) const {
  WriteIniSection(fileName, section, WizardStatePairs(State()));
}

bool TZelvar::LoadStateFromIni(const std::string& fileName, const std::string& section) {
  const TIniFile ini(fileName);
  if (!ini.SectionExists(section)) return false;
  ApplyState(ReadWizardState(ini, section));
  return true;
}

std::string TZelvar::StateSection() const {
  const TComponent* form = Owner();
  return form && !form->Name().empty() ? form->Name() : std::string("Wizard");
}

int32_t TZelvar::Execute(int32_t page) {
  return Execute(page, FResumeState);
}

int32_t TZelvar::Execute(int32_t page, const std::string& resumeFromFile) {
  TForm* form = OwnerForm();
  if (!form) throw EInvalidOperation(Format("%s has no form to show", {FormName(*this)}));
  // A program that cannot show the form learns it before the wizard moves.
  Application().EnsureBackend();
  std::string file;
  if (!resumeFromFile.empty()) {
    try {
      file = StateFilePath(resumeFromFile);
    } catch (const EFilerError& e) {
      // Without a place for the state the wizard still runs; it only cannot be resumed.
      if (OnStateError) OnStateError(this, e.Message());
    }
  }
  // Cancel compares with the values before a resumed state: discarding loses those too.
  TInputValues fresh = Owner() ? CaptureInputValues(*Owner()) : TInputValues{};
  const bool resumed = !file.empty() && Resume(file, page);
  if (!resumed) {
    setPage(page);
    ClearHistory();
  }
  TRestore<std::string> resuming(FResumeFile, file);
  if (resumed) FStartValues = std::move(fresh);
  TRestore<bool> keep(FKeepStartValues, resumed);
  FCancelled = false;
  const int32_t result = form->ShowModal();
  if (!file.empty()) KeepState(file, result);
  return result;
}

bool TZelvar::Resume(const std::string& file, int32_t page) {
  const std::string section = StateSection();
  try {
    const TIniFile ini(file);
    if (!ini.SectionExists(section)) return false;
    TWizardState state = ReadWizardState(ini, section);
    // Pages removed since: the wizard opens where it was asked to, with what still matches.
    if (!CanShowPosition(state.Page)) {
      state.Page = page;
      state.History.clear();  // the way there is gone with it
    }
    ApplyState(state);
    return FPage == state.Page;
  } catch (const Exception& e) {
    if (OnStateError) OnStateError(this, e.Message());
    return false;
  }
}

void TZelvar::KeepState(const std::string& file, int32_t result) {
  try {
    // Finished or given up: the next run starts afresh.
    if (result == mrOk || FCancelled)
      WriteIniSection(file, StateSection(), {});
    else
      SaveStateToIni(file, StateSection());
  } catch (const EFilerError& e) {
    // The wizard's result stands; the program hears that it cannot be resumed.
    if (OnStateError) OnStateError(this, e.Message());
  }
}

}  // namespace zelvar
