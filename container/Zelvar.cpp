// TZelvar's state: the published interface, construction with its defaults and the language
// file, the container's own form-file properties, Loaded and destruction.

#include <algorithm>
#include <array>

#include "container/ZelvarA.h"
#include "platform/core/Format.h"
#include "platform/core/IniFiles.h"
#include "platform/core/Paths.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Resources.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/Streams.h"
#include "resources/ZelvarRes.h"

namespace zelvar {

const TClassInfo& TZelvar::StaticClassInfo() {
  using Z = TZelvar;
  static const auto info =
      TClassBuilder<Z>("TZelvar")
          .Property("NumPages", &Z::NumPages, &Z::SetNumPages)
          .Property("OnPageChange", &Z::OnPageChange, &Z::OnPageChange)
          .Property("OnCanPageChange", &Z::OnCanPageChange, &Z::OnCanPageChange)
          .Property("OnHelpClick", &Z::OnHelpClick, &Z::OnHelpClick)
          .Property("OnAskPageChange", &Z::OnAskPageChange, &Z::OnAskPageChange)
          .Property("OnCancelClick", &Z::OnCancelClick, &Z::OnCancelClick)
          .Property("CaptionDialog", &Z::CaptionDialog, &Z::SetCaptionDialog)
          .Property("CaptionWizard", &Z::CaptionWizard, &Z::SetCaptionWizard)
          .Property("ButtonWidth", &Z::ButtonWidth, &Z::SetButtonWidth)
          .Property("ButtonHeight", &Z::ButtonHeight, &Z::SetButtonHeight)
          .Property("ShowGlyph", &Z::ShowGlyph, &Z::setshowglyph)
          .Property("RememberPage", &Z::RememberPage, &Z::SetRememberPage)
          .Property("PageNames", &Z::PageNames, &Z::setpagenames)
          .Property("BtnHelp", &Z::BtnHelp)
          .Property("BtnWizardOK", &Z::BtnWizardOK)
          .Property("BtnFinish", &Z::BtnFinish)
          .Property("BtnDialogOK", &Z::BtnDialogOK)
          .Property("BtnChangeWizard", &Z::BtnChangeWizard)
          .Property("BtnChangeDialog", &Z::BtnChangeDialog)
          .Property("BtnCancel", &Z::BtnCancel)
          .Property("BtnNext", &Z::BtnNext)
          .Property("BtnBack", &Z::BtnBack)
          .Property("WayList", &Z::WayList)
          .Property("WayListEnabled", &Z::WayListEnabled, &Z::SetWayListEnabled)
          .Property("StartPage", &Z::StartPage, &Z::SetStartPage)
          .Property("ShowPageNames", &Z::ShowPageNames, &Z::setshowpagenames)
          .Property("BLWizard", &Z::BLWizard)
          .Property("BLDialog", &Z::BLDialog)
          // Written even unchanged, as the container's form files always carry it.
          .Publish("Font")
          .Stored(true)
          .Property("ButtonStyle", &Z::ButtonStyle, &Z::SetButtonStyle)
          .Publish("Align")
          .Default(kDefaultAlign)
          .Property("Page", &Z::Page, &Z::setPage)
          .Property("Seperator", &Z::Seperator, &Z::SetSeparator)
          .Property("SetFormProperties", &Z::SetFormProperties, &Z::SetSetFormProperties)
          .Property("UseHistory", &Z::UseHistory, &Z::SetUseHistory)
          .Property("SetFormCaption", &Z::SetFormCaption, &Z::SetSetFormCaption)
          .Property("Style", &Z::Style, &Z::SetStyle)
          .Property("TabSpaceX", &Z::TabSpaceX, &Z::SetTabSpaceX)
          .Property("TabSpaceY", &Z::TabSpaceY, &Z::SetTabSpaceY)
          .Publish("TabStop", "TabOrder")
          .Property("SkipOnBack", &Z::SkipOnBack)
          .Stored(&Z::SkipOnBackStored)
          .Property("CommitPages", &Z::CommitPages)
          .Stored(&Z::CommitPagesStored)
          .Property("OnCommit", &Z::OnCommit, &Z::OnCommit)
          .Property("ConfirmCancel", &Z::ConfirmCancel, &Z::SetConfirmCancel)
          .Default(kDefaultConfirmCancel)
          .Property("ResumeState", &Z::ResumeState, &Z::SetResumeState)
          .Stored(&Z::ResumeStateStored)
          .Property("OnStateError", &Z::OnStateError, &Z::OnStateError)
          .Property("OnPageComplete", &Z::OnPageComplete, &Z::OnPageComplete)
          .Property("OnBusyCancel", &Z::OnBusyCancel, &Z::OnBusyCancel)
          .Property("ButtonAutoSize", &Z::ButtonAutoSize, &Z::SetButtonAutoSize)
          .Default(kDefaultButtonAutoSize)
          .Property("HeaderStyle", &Z::HeaderStyle, &Z::SetHeaderStyle)
          .Default(kDefaultHeaderStyle)
          .Property("PageSubtitles", &Z::PageSubtitles, &Z::SetPageSubtitles)
          .Stored(&Z::PageSubtitlesStored)
          .Property("HeaderImage", &Z::HeaderImage, &Z::SetHeaderImage)
          .Stored(&Z::HeaderImageStored)
          .Property("WatermarkImage", &Z::WatermarkImage, &Z::SetWatermarkImage)
          .Stored(&Z::WatermarkImageStored)
          .Property("WatermarkPages", &Z::WatermarkPages)
          .Stored(&Z::WatermarkPagesStored)
          .Public("WizardWidth", &Z::WizardWidth, &Z::setWizardWidth)
          .Public("WizardHeight", &Z::WizardHeight, &Z::setWizardHeight)
          .Public("DialogWidth", &Z::DialogWidth, &Z::setDialogWidth)
          .Public("DialogHeight", &Z::DialogHeight, &Z::setDialogHeight)
          .Public("RealPage", &Z::RealPage)
          .Public("LastWizardPage", &Z::LastWizardPage)
          .Public("HistoryCount", [](const Z& z) { return z.History().Count(); })
          .Public("HideBanner", &Z::HideBanner)
          .Public("PageComplete", &Z::PageComplete)
          .Public("Busy", &Z::Busy)
          .Method("Nextclick", &Z::Nextclick)
          .Method("Backclick", &Z::Backclick)
          .Method("Changeclick", &Z::Changeclick)
          .Method("OKClick", &Z::OKClick)
          .Method("CancelClick", &Z::CancelClick)
          .Method("HelpClick", &Z::HelpClick)
          .Method("NextRightDown", &Z::NextRightDown)
          .Method("BackRightDown", &Z::BackRightDown)
          .Method("Jump", &Z::Jump)
          .Method("JumpRel", &Z::JumpRel)
          .Method("ClearHistory", &Z::ClearHistory)
          .Method("UpdatePageComplete", &Z::UpdatePageComplete)
          .Method("zelvarupdate", &Z::zelvarupdate)
          .Method("BeginBusy", &Z::BeginBusy)
          .Method("EndBusy", &Z::EndBusy)
          .Build();
  return *info;
}

namespace {

// The language table: which description takes which glyph, text key and default, and Show.
struct TLanguageEntry {
  std::unique_ptr<TButtonData> TZelvar::*Data;
  const char* Glyph;
  const char* Key;
  const char* Text;
  bool Show;
};

}  // namespace

TZelvar::TZelvar(TComponent* owner) : TCustomControl(RequireFormOwner(owner)) {
  FButtonsReady = false;
  IncludeStyle(csAcceptsControls);
  // Paint fills the whole container before anything else: the form need not fill under it.
  IncludeStyle(csOpaque);
  SetAlign(kDefaultAlign);

  FChangeButton = MakeDesignButton("ChangeButton");
  FChangeButton->OnClick = TNotifyEvent([this](TObject* s) { Changeclick(s); });
  FHelpButton = MakeDesignButton("HelpButton");
  FHelpButton->OnClick = TNotifyEvent([this](TObject* s) { HelpClick(s); });
  FCancelButton = New<TBitBtn>(this);
  FCancelButton->SetName("CancelButton");
  FCancelButton->SetParent(this);
  FCancelButton->SetWidth(90);
  FCancelButton->SetTag(-1);
  FCancelButton->SetCancel(true);
  FCancelButton->OnClick = TNotifyEvent([this](TObject* s) { CancelClick(s); });
  FBackButton = MakeDesignButton("BackButton");
  FBackButton->OnClick = TNotifyEvent([this](TObject* s) { Backclick(s); });
  FBackButton->OnMouseDown =
      TMouseEvent([this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
        BackRightDown(s, b, sh, x, y);
      });
  FNextButton = MakeDesignButton("NextButton");
  FNextButton->OnClick = TNotifyEvent([this](TObject* s) { Nextclick(s); });
  FNextButton->OnMouseDown =
      TMouseEvent([this](TObject* s, TMouseButton b, TShiftState sh, int32_t x, int32_t y) {
        NextRightDown(s, b, sh, x, y);
      });
  FNextButton->SetEnabled(true);
  FOKButton = New<TBitBtn>(this);
  FOKButton->SetName("OKButton");
  FOKButton->SetParent(this);
  FOKButton->SetWidth(90);
  FOKButton->SetTag(-1);
  FOKButton->OnClick = TNotifyEvent([this](TObject* s) { OKClick(s); });

  int32_t mark = 0;
  for (auto* data : {&FBtnHelp, &FBtnWizardOK, &FBtnFinish, &FBtnDialogOK, &FBtnChangeWizard,
                     &FBtnChangeDialog, &FBtnCancel, &FBtnNext, &FBtnBack}) {
    *data = std::make_unique<TButtonData>(this);
    (*data)->FMark = ++mark;
  }
  FHideBanner = false;

  FSetFormProperties = true;
  FPageNames = std::make_unique<TStringList>(std::initializer_list<std::string>{"Dialog"});
  FWayList = std::make_unique<TPageList>();
  FWayListEnabled = false;
  FShowPageNames = false;
  FUseHistory = true;
  FSetFormCaption = true;
  FTabSpaceX = 16;
  FTabSpaceY = 8;
  FHistory = std::make_unique<TIntegerList>();
  FStartPage = 1;
  FBLWizard = std::make_unique<TIntegerList>();
  for (int32_t code : {bcChange, bcHelp, bcMiddle, bcCancel, bcBack, bcNext, bcOK})
    FBLWizard->Add(code);
  FBLDialog = std::make_unique<TIntegerList>();
  for (int32_t code : {bcChange, bcHelp, bcMiddle, bcCancel, bcOK}) FBLDialog->Add(code);
  FSkipOnBack = std::make_unique<TIntegerList>();
  FCommitPages = std::make_unique<TIntegerList>();

  // Dropped on a form in the designer, the container sets the form up at once as loading it
  // will: what the designer shows, and the bytes it keeps for undo, are what the file gives back.
  if (IsDesigning() && !IsReading()) ApplyFormProperties();
  if (TForm* form = OwnerForm()) {
    FDialogWidth = FWizardWidth = form->Width();
    FDialogHeight = FWizardHeight = form->Height();
  }
  SetNumPages(2);
  SetButtonWidth(90);
  SetButtonHeight(FOKButton->Height());
  SetCaption();

  // Holding Shift while the container is made shows the version banner; the first reading
  // only clears the key's "pressed since" bit.
  GetAsyncKeyState(VK_SHIFT);
  if (GetAsyncKeyState(VK_SHIFT) == 0) FHideBanner = true;

  // The designer starts a container with the bar a program asks for with UseDefaultButtons.
  if (IsDesigning()) UseDefaultButtons();
}

TZelvar::~TZelvar() {
  // The buttons go first, while everything they might call on is still here.
  DestroyComponents();
}

TDesignButton* TZelvar::MakeDesignButton(const char* name) {
  auto* b = New<TDesignButton>(this);
  b->SetName(name);
  b->SetParent(this);
  b->SetWidth(90);
  b->SetTag(-1);
  // Clicked in the form designer as at run time.
  b->SetDesigning(false);
  return b;
}

void TZelvar::UseDefaultButtons() {
  {
    // Each description would lay the bar out again; once at the end is enough.
    TRestore<bool> quiet(FButtonsReady, false);
    ApplyLanguageFile();
  }
  SetCaption();
  FButtonsReady = true;
  ShowButtons();
}

void TZelvar::ApplyLanguageFile() {
  static const std::array<TLanguageEntry, 9> table{{
      {&TZelvar::FBtnHelp, "HELP", "Help", "&Help", false},
      {&TZelvar::FBtnWizardOK, "ZELVAROK", "ZelvarOK", "&OK", false},
      {&TZelvar::FBtnFinish, "FINISH", "Finish", "&Finish", true},
      {&TZelvar::FBtnDialogOK, "DIALOGOK", "DialogOK", "&OK", true},
      {&TZelvar::FBtnChangeWizard, "CHANGEZELVAR", "ChangeZelvar", "&Wizard", true},
      {&TZelvar::FBtnChangeDialog, "CHANGEDIALOG", "ChangeDialog", "&Dialog", true},
      {&TZelvar::FBtnCancel, "CANCEL", "Cancel", "&Cancel", true},
      {&TZelvar::FBtnNext, "ARROWR", "Next", "&Next", true},
      {&TZelvar::FBtnBack, "ARROWL", "Back", "&Back", true},
  }};
  TIniFile ini(ExtractFilePath(ParamStr(0)) + "Zelvar.ini");
  std::string language = ini.ReadString("Option", "Language", "english");
  TBitmap glyph;  // one bitmap serves all nine
  for (const TLanguageEntry& e : table) {
    TButtonData& data = *(this->*e.Data);
    glyph.LoadFromResource(LoadBitmapA(ZelvarModule(), e.Glyph));
    data.SetGlyph(&glyph);
    data.FText = ini.ReadString(language, e.Key, e.Text);
    data.FEnabled = true;
    data.FShow = e.Show;
    if (e.Data == &TZelvar::FBtnNext) data.SetLayout(blGlyphRight);
  }
  FCaptionWizard = ini.ReadString(language, "CaptionWizard", "Wizard - Page %d of %d");
  FCaptionDialog = ini.ReadString(language, "CaptionDialog", "Dialog");
}

TForm* TZelvar::OwnerForm() const {
  return As<TForm>(Owner());
}

// ---------------------------------------------------------------------------------------------
// Plain setters

void TZelvar::setpagenames(TStrings* v) {
  if (v == FPageNames.get()) return;
  FPageNames->Assign(v);
}

void TZelvar::setshowpagenames(bool v) {
  FShowPageNames = v;
  SetCaption();
}

void TZelvar::setWizardWidth(int32_t v) {
  FWizardWidth = v;
  setPage(FPage);
}
void TZelvar::setWizardHeight(int32_t v) {
  FWizardHeight = v;
  setPage(FPage);
}
void TZelvar::setDialogWidth(int32_t v) {
  FDialogWidth = v;
  setPage(FPage);
}
void TZelvar::setDialogHeight(int32_t v) {
  FDialogHeight = v;
  setPage(FPage);
}

void TZelvar::zelvarupdate() {
  if (FStyle == asTabbed) inittabsinline();
  setPage(FPage);
  Refresh();
}

void TZelvar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  ++FRemovals;
  for (TBroadcastFrame* f = FBroadcasts; f; f = f->Outer)
    for (TBroadcastTarget& t : *f->Targets)
      if (t.Component == component) t.Component = nullptr;
  if (component == FChangeButton) FChangeButton = nullptr;
  if (component == FHelpButton) FHelpButton = nullptr;
  if (component == FCancelButton) FCancelButton = nullptr;
  if (component == FBackButton) FBackButton = nullptr;
  if (component == FNextButton) FNextButton = nullptr;
  if (component == FOKButton) FOKButton = nullptr;
  if (component == FBusyBar) FBusyBar = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Form files

void TZelvar::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  filer.DefineProperty(
      "HistoryNumPages", [this](TReader& r) { ReadHistoryNum(r); },
      [this](TWriter& w) { WriteHistoryNum(w); }, true);
  filer.DefineBinaryProperty(
      "HistoryData", [this](TStream& s) { FHistory->ReadBinaryData(s); },
      [this](TStream& s) { FHistory->WriteBinaryData(s); },
      std::min(FHistory->Count(), FHistory->ItemCount()) > 0);
  filer.DefineBinaryProperty(
      "FormSize", [this](TStream& s) { ReadFormSize(s); }, [this](TStream& s) { WriteFormSize(s); },
      true);
}

namespace {

bool HoldsEntries(const TIntegerList& list) {
  return std::min(list.Count(), list.ItemCount()) > 0;
}

}  // namespace

bool TZelvar::SkipOnBackStored() const {
  return HoldsEntries(*FSkipOnBack);
}

bool TZelvar::CommitPagesStored() const {
  return HoldsEntries(*FCommitPages);
}

bool TZelvar::WatermarkPagesStored() const {
  return HoldsEntries(*FWatermarkPages);
}

void TZelvar::ReadHistoryNum(TReader& reader) {
  FHistory->ReadNum(reader);
}

void TZelvar::WriteHistoryNum(TWriter& writer) const {
  FHistory->WriteNum(writer);
}

namespace {

int32_t GetLE32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
}
void PutLE32(uint8_t* p, int32_t v) {
  auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

}  // namespace

void TZelvar::ReadFormSize(TStream& stream) {
  std::array<uint8_t, 16> block{};
  stream.ReadBuffer(block.data(), block.size());
  if (stream.Position() != stream.Size())
    throw EReadError("FormSize holds " + std::to_string(stream.Size()) + " bytes; it must hold 16");
  FWizardHeight = GetLE32(&block[0]);
  FWizardWidth = GetLE32(&block[4]);
  FDialogHeight = GetLE32(&block[8]);
  FDialogWidth = GetLE32(&block[12]);
  // Back may be offered at once; it is never taken away here.
  if (BackTarget() >= 0) FBtnBack->SetEnabled(true);
}

void TZelvar::WriteFormSize(TStream& stream) const {
  std::array<uint8_t, 16> block{};
  PutLE32(&block[0], FWizardHeight);
  PutLE32(&block[4], FWizardWidth);
  PutLE32(&block[8], FDialogHeight);
  PutLE32(&block[12], FDialogWidth);
  stream.WriteBuffer(block.data(), block.size());
}

void TZelvar::Loaded() {
  // Back reads the history by its count: a count the stored entries do not back is a damaged
  // file, refused here so the read fails as a whole.
  if (FHistory->Count() != FHistory->ItemCount())
    throw EReadError(Format("HistoryNumPages is %d but HistoryData holds %d entries",
                            {FHistory->Count(), FHistory->ItemCount()}));
  // The same for the lists read as nested properties: a count whose "Data" is missing.
  const std::string name = FormName(*this);
  FBLWizard->CheckLoaded(name, "BLWizard");
  FBLDialog->CheckLoaded(name, "BLDialog");
  FSkipOnBack->CheckLoaded(name, "SkipOnBack");
  FCommitPages->CheckLoaded(name, "CommitPages");
  FWayList->CheckLoaded(name, "WayList");
  ApplyFormProperties();
  TCustomControl::Loaded();
}

void TZelvar::ApplyFormProperties() {
  if (!FSetFormProperties) return;
  if (TForm* form = OwnerForm()) {
    form->SetPosition(poScreenCenter);
    form->SetBorderStyle(bsDialog);
  }
}

TZelvar* FindZelvar(const TComponent& owner) {
  auto isWizard = [](TComponent& c) { return dynamic_cast<TZelvar*>(&c) != nullptr; };
  return static_cast<TZelvar*>(FindComponentWhere(&owner, isWizard));
}

void RegisterZelvarA() {
  RegisterClasses<TZelvar, TDesignButton>();
}

}  // namespace zelvar
