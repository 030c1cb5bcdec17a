// Page-bound controls: construction per family member, placing and hiding per page, recorded
// moves, parents per mode, alignment, the missing container, and references that go away.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>

#include "controls/ZelvarC.h"
#include "platform/backends/Headless.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class PageBound : public ContainerTest {
 protected:
  template <class T>
  T* Make(TWinControl* parent = nullptr) {
    T* c = New<T>(Form.get());
    c->SetParent(parent ? parent : Z);
    return c;
  }
};

TEST_F(PageBound, EachMemberIsBuiltAsItsFamilySays) {
  Z->setPage(2);
  auto* box = Make<TABox>();
  EXPECT_EQ(box->Width(), 50);
  EXPECT_FALSE(box->TabStop());
  EXPECT_TRUE(box->ControlStyle().Contains(csAcceptsControls));
  EXPECT_EQ(box->Zelvar(), Z);
  EXPECT_THAT(Shown(*box->ShowContainer()), ElementsAre(0, 0, 1, 0));
  EXPECT_TRUE(box->TrackBounds());
  auto* group = Make<TAGroupBox>();
  EXPECT_EQ(group->Width(), TGroupBox(nullptr).Width());
  EXPECT_FALSE(group->TabStop());
  auto* radio = Make<TAJumpRadioBtn>();
  EXPECT_EQ(radio->Width(), 140);
  EXPECT_TRUE(radio->ButtonMode());
  EXPECT_EQ(radio->JumpPage(), 0);
  EXPECT_EQ(radio->JumpMode(), jmAbsolut);
  auto* image = Make<TAImage>();
  EXPECT_THAT(Shown(*image->ShowContainer()), ElementsAre(0, 0, 1, 0));
  // The editors find the list and the container by published field.
  EXPECT_EQ(image->FieldAddress("FAposList").Get(), image->ShowContainer());
  EXPECT_EQ(image->FieldAddress("FZelvar").Get(), Z);
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { image->FieldAddress("FAposList").Set(nullptr); }),
              HasSubstr("read-only"));
  EXPECT_TRUE(image->MethodAddress("SetNewPosition").HasSignature(typeid(AMethod1)));
}

TEST_F(PageBound, PagesShowAndHideTheControlAtItsPlaces) {
  Z->setPage(1);
  auto* box = Make<TABox>();
  box->SetBounds(10, 20, 50, 50);
  box->ShowContainer()->Record(3) = {70, 80, 1};
  box->ShowContainer()->Record(2) = {1, 1, 2};  // anything but 1 hides
  box->SetEnabled(false);
  Z->setPage(2);
  EXPECT_FALSE(box->Visible());
  EXPECT_FALSE(box->Enabled());
  EXPECT_EQ(box->Left(), kParkedLeft);
  Z->setPage(3);
  EXPECT_TRUE(box->Visible());
  EXPECT_TRUE(box->Enabled());
  EXPECT_EQ(box->BoundsRect(), (TRect{70, 80, 120, 130}));
  Z->setPage(1);
  EXPECT_EQ(box->BoundsRect(), (TRect{10, 20, 60, 70}));
  // The stored places were not touched by all that moving.
  EXPECT_EQ(box->ShowContainer()->Record(3), (TAposRec{70, 80, 1}));
  EXPECT_EQ(box->ShowContainer()->Record(2), (TAposRec{1, 1, 2}));
}

TEST_F(PageBound, MovesAreRecordedForThePageShowingOnly) {
  Z->setPage(3);
  auto* box = Make<TABox>();
  box->ShowContainer()->Record(1) = {5, 5, 1};
  box->SetLeft(40);
  box->SetTop(41);
  EXPECT_EQ(box->ShowContainer()->Record(3), (TAposRec{40, 41, 1}));
  EXPECT_EQ(box->ShowContainer()->Record(1), (TAposRec{5, 5, 1}));
  // Size is never recorded, and the realignment that showing causes is not a move.
  box->SetWidth(77);
  EXPECT_EQ(box->ShowContainer()->Record(3), (TAposRec{40, 41, 1}));
  Z->setPage(2);
  box->SetAAlign(alClient);  // hidden on this page: only stored
  Z->setPage(1);
  EXPECT_EQ(box->ShowContainer()->Record(1), (TAposRec{5, 5, 1}));
  EXPECT_EQ(box->BoundsRect(), Z->GetClientRect());
}

TEST_F(PageBound, AnAlignmentOfItsOwnHoldsOnlyWhereTheControlIsShown) {
  Z->setPage(1);
  auto* box = Make<TABox>();
  box->SetAAlign(alClient);
  EXPECT_EQ(box->Align(), alClient);
  Z->setPage(2);
  EXPECT_EQ(box->Align(), alNone);
  box->SetAAlign(alTop);  // hidden here: only stored
  EXPECT_EQ(box->Align(), alNone);
  Z->setPage(1);
  EXPECT_EQ(box->Align(), alTop);
  box->SetAAlign(alNone);  // clearing it on a shown control clears the alignment
  EXPECT_EQ(box->Align(), alNone);
  box->SetAlign(alBottom);  // the developer's own alignment then holds on every page
  Z->setPage(2);
  Z->setPage(1);
  EXPECT_EQ(box->Align(), alBottom);
}

TEST_F(PageBound, TheListFollowsThePageCount) {
  auto* box = Make<TABox>();
  Z->SetNumPages(4);
  EXPECT_EQ(box->ShowContainer()->RecordCount(), 5);
  box->SetNumApos(1);
  EXPECT_EQ(box->ShowContainer()->RecordCount(), 1);
  box->SetNumApos(3);
  EXPECT_THAT(Shown(*box->ShowContainer()), ElementsAre(1, 0, 0));
  EXPECT_EQ(box->ShowContainer()->Record(2), (TAposRec{0, 0, 0}));
}

TEST_F(PageBound, APageOutsideTheListFailsAndRecordingResumes) {
  auto* box = Make<TABox>();
  box->SetNumApos(2);
  Z->SetNumPages(3);  // tells the box, which now has 4 entries again
  box->SetNumApos(2);
  box->SetName("Box1");
  Z->setPage(1);
  box->SetLeft(30);
  // Refused before anything moves: the page, the box and its recorded place stay as they were.
  EXPECT_THAT(MessageOf<EListError>([&] { Z->setPage(3); }),
              HasSubstr("Page 3 has no place in the position list of Box1 (it holds 2)"));
  EXPECT_TRUE(box->TrackBounds());
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_EQ(box->Left(), 30);
  EXPECT_EQ(box->ShowContainer()->Record(1).Left, 30);
}

TEST_F(PageBound, NextToAJumpTargetBeyondTheLastPageChangesNothing) {
  Z->setPage(1);
  auto* panel = Make<TAPanel>();
  auto* group = Make<TAGroupBox>();
  auto* radio = Make<TAJumpRadioBtn>(group);
  radio->SetJumpPage(9);
  radio->SetChecked(true);
  panel->SetLeft(40);
  const std::vector<TAposRec> places = panel->ShowContainer()->Records();
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Nextclick(nullptr); }), HasSubstr("Page 9"));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Jump(5); }), HasSubstr("Page 5"));
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_EQ(Z->History().Count(), 0);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  EXPECT_EQ(panel->Left(), 40);
  EXPECT_EQ(panel->ShowContainer()->Records(), places);
  radio->SetJumpPage(3);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
}

TEST_F(PageBound, CheckedJumpRadioButtonsStayCheckedInTheirOwnGroups) {
  // Two groups, both on the wizard pages and on the dialog page under the container.
  Z->setPage(1);
  auto* g1 = Make<TAGroupBox>();
  auto* g2 = Make<TAGroupBox>();
  auto* a = Make<TAJumpRadioBtn>(g1);
  auto* b = Make<TAJumpRadioBtn>(g2);
  for (auto* r : {a, b}) {
    r->ShowContainer()->Record(0).Shown = 1;
    r->SetParentInDialog(Z);
    r->SetChecked(true);
  }
  a->SetJumpPage(3);
  Z->setPage(0);  // both arrive in the container, as siblings
  Z->setPage(1);
  EXPECT_TRUE(a->Checked());
  EXPECT_TRUE(b->Checked());
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
}

// A stored position list must hold a record for every page of the container, or every later
// page change would fail on it; a damaged one is refused at load, and nothing of it survives.
TEST_F(PageBound, AStoredPositionListMustCoverEveryPage) {
  RegisterZelvarA();
  RegisterZelvarC();
  Form->SetName("Form1");
  Form->SetFormClassName("TForm1");
  auto* panel = Make<TAPanel>();
  panel->SetName("Panel1");
  const std::string text = WriteComponent(Form.get(), TFormFormat::Text);
  ASSERT_THAT(text, HasSubstr("ShowContainer.NumApos = 4\n"));
  // Panel1's list with its count set to count and its block cut to records records.
  auto stored = [&](int count, int records) {
    std::string t = text;
    t.replace(t.find("ShowContainer.NumApos = 4"), 25,
              "ShowContainer.NumApos = " + std::to_string(count));
    size_t data = t.find("ShowContainer.Data = {");
    size_t from = t.find('{', data) + 1, to = t.find('}', data);
    std::string hex;
    for (char c : t.substr(from, to - from))
      if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
    hex.resize(24 * static_cast<size_t>(records), '0');  // a record more is hidden at 0, 0
    t.replace(from, to - from, "\n" + hex + "\n");
    return t;
  };
  // Told when a form the reader made is freed.
  struct TFreeWatch : TComponent {
    using TComponent::TComponent;
    int Freed = 0;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove) ++Freed;
    }
  } watch(nullptr);
  int made = 0;
  TFormReadOptions options;
  options.CreateRoot = [&](const std::string& cls, TComponent* o) -> TComponent* {
    TForm* f = New<TForm>(o);
    f->SetFormClassName(cls);
    f->FreeNotification(&watch);
    ++made;
    return f;
  };
  auto readError = [&](const std::string& t) {
    return MessageOf<EReadError>([&] { delete ReadComponent(t, options); });
  };
  EXPECT_EQ(readError(stored(2, 2)),
            "Error reading Panel1: ShowContainer holds 2 positions but Zelvar1 has 4 pages "
            "(NumPages 3 and the dialog page)");
  // A count without its block keeps the records the control was made with.
  std::string noData = stored(2, 2);
  size_t data = noData.find("    ShowContainer.Data = {");
  noData.erase(data, noData.find("}\n", data) + 2 - data);
  EXPECT_THAT(
      readError(noData),
      HasSubstr("Panel1: ShowContainer.NumApos is 2 but ShowContainer.Data holds 4 records"));
  EXPECT_EQ(watch.Freed, made);
  // The whole list, or a longer one, loads and serves every page.
  for (int records : {4, 5}) {
    std::unique_ptr<TComponent> copy(ReadComponent(stored(records, records), options));
    auto* z = As<TZelvar>(copy->FindComponent("Zelvar1"));
    for (int page : {1, 2, 3, 0}) EXPECT_NO_THROW(z->setPage(page)) << records << " " << page;
  }
}

TEST_F(PageBound, ParentsAreKeptPerMode) {
  auto* panel = Make<TAPanel>();
  auto* other = Make<TAPanel>();
  Z->setPage(0);
  auto* box = Make<TABox>(panel);  // placed on page 0
  EXPECT_EQ(box->GetParentInDialog(), panel);
  EXPECT_EQ(box->GetParentInWizard(), Z);
  box->SetParentInWizard(other);  // the dialog page shows: only stored
  EXPECT_EQ(box->Parent(), panel);
  EXPECT_EQ(box->GetParentInWizard(), other);
  box->SetParentInWizard(nullptr);
  box->SetParentInWizard(reinterpret_cast<TWinControl*>(box));
  EXPECT_EQ(box->GetParentInWizard(), other);
  box->ShowContainer()->Record(1).Shown = 1;
  Z->setPage(1);
  EXPECT_EQ(box->Parent(), other);
  box->SetParentInWizard(panel);  // a wizard page shows: moved at once
  EXPECT_EQ(box->Parent(), panel);
  EXPECT_EQ(box->GetParentInWizard(), panel);
}

TEST_F(PageBound, AParentOrContainerThatGoesLeavesNoReference) {
  Z->setPage(0);
  auto* img = Make<TAImage>(Form.get());
  img->ShowContainer()->Record(1).Shown = 1;
  // A parent owned elsewhere tells the control when it goes.
  auto* foreign = New<TPanel>(nullptr);
  foreign->SetParent(Form.get());
  img->SetParentInWizard(foreign);  // the dialog page shows: only stored
  delete foreign;
  EXPECT_EQ(img->GetParentInWizard(), nullptr);
  // A sibling's removal reaches it through the form.
  auto* sibling = Make<TAPanel>(Form.get());
  img->SetParentInWizard(sibling);
  Form->RemoveComponent(sibling);
  EXPECT_EQ(img->GetParentInWizard(), nullptr);
  delete sibling;
  Z->setPage(1);  // no wizard parent: it stays where it is, shown
  EXPECT_EQ(img->Parent(), Form.get());
  EXPECT_TRUE(img->Visible());
  delete Z;
  Z = nullptr;
  EXPECT_EQ(img->Zelvar(), nullptr);
  img->SetLeft(3);  // nothing to record into, nothing to fail
}

TEST_F(PageBound, WithoutAContainerTheControlSaysSoAndWorksAlone) {
  auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
  std::vector<std::string> messages;
  auto backend = std::make_unique<THeadlessBackend>();
  backend->OnIdle = [&] {
    TForm* box = Application().ActiveForm();
    messages.push_back(box->ClassName() + ": " +
                       As<TControl>(box->FindComponent("Message"))->Caption() +
                       (box->FindComponent("OK") ? " [OK]" : ""));
    box->SetModalResult(mrOk);
    return true;
  };
  Application().SetBackend(std::move(backend));
  auto* box = New<TABox>(form.get());
  Application().SetBackend(nullptr);
  EXPECT_THAT(messages, ElementsAre("TMessageForm: No Zelvar on Form! [OK]"));
  EXPECT_EQ(box->Zelvar(), nullptr);
  EXPECT_EQ(box->ShowContainer()->RecordCount(), 0);
  box->SetParent(form.get());
  box->SetLeft(12);
  box->SetAAlign(alClient);
  EXPECT_EQ(box->Align(), alNone);
  EXPECT_EQ(box->AAlign(), alClient);
  box->SetParentInDialog(form.get());
  EXPECT_EQ(box->GetParentInDialog(), nullptr);
  box->SetNumApos(2);
  box->ShowContainer()->Record(1).Shown = 1;
  box->SetNewPosition(1);
  EXPECT_TRUE(box->Visible());
  // A jump button without a container has nowhere to go.
  Application().SetBackend(nullptr);
  auto backend2 = std::make_unique<THeadlessBackend>();
  backend2->OnIdle = [] {
    Application().ActiveForm()->SetModalResult(mrOk);
    return true;
  };
  Application().SetBackend(std::move(backend2));
  auto* jump = New<TAJumpBitBtn>(form.get());
  Application().SetBackend(nullptr);
  jump->Click();
}

TEST_F(PageBound, AnOwnerThatIsNoFormIsRefused) {
  TComponent owner(nullptr);
  EXPECT_THAT(MessageOf<EInvalidCast>([&] { New<TAPanel>(&owner); }), HasSubstr("TForm"));
  EXPECT_EQ(owner.GetComponentCount(), 0);
}

// ---------------------------------------------------------------------------------------------
// Jumps

TEST_F(PageBound, JumpButtonsGoAbsoluteOrRelative) {
  Z->SetNumPages(5);
  Z->setPage(1);
  auto* jump = Make<TAJumpBitBtn>();
  jump->SetJumpMode(jmRelativ);
  jump->SetJumpPage(-1);
  jump->Click();
  EXPECT_EQ(Z->Page(), 0);
  EXPECT_THAT(Z->History().Items(), ElementsAre(1));
  jump->SetJumpMode(jmAbsolut);
  jump->SetJumpPage(3);
  jump->Click();
  EXPECT_EQ(Z->Page(), 3);
  // The application's OnClick runs first and may still choose the page.
  jump->OnClick = TNotifyEvent([jump](TObject*) { jump->SetJumpPage(5); });
  jump->Click();
  EXPECT_EQ(Z->Page(), 5);
  jump->OnClick.Clear();
  jump->SetJumpPage(-1);
  jump->Click();
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Z->Page(), 5);
}

TEST_F(PageBound, TheFirstEnabledCheckedRadioButtonDecidesNext) {
  Z->SetNumPages(6);
  Z->setPage(1);
  auto* g1 = Make<TAGroupBox>();
  auto* g2 = Make<TAGroupBox>();
  auto* first = Make<TAJumpRadioBtn>(g1);
  auto* second = Make<TAJumpRadioBtn>(g2);
  auto* hidden = Make<TAJumpRadioBtn>(g2);
  hidden->ShowContainer()->Record(1).Shown = 0;
  hidden->SetJumpPage(6);
  Z->setPage(1);  // places them: the hidden one is disabled
  hidden->SetChecked(true);
  EXPECT_FALSE(hidden->Enabled());
  EXPECT_EQ(Z->getjumppage(), 2);

  first->SetJumpMode(jmRelativ);
  first->SetJumpPage(2);
  first->SetChecked(true);
  second->SetJumpPage(5);
  second->SetChecked(true);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(Z->History().Items(), ElementsAre(1));

  // A target of -1 is passed over: the next candidate decides, else Page + 1.
  Z->setPage(1);
  first->SetJumpMode(jmAbsolut);
  first->SetJumpPage(-1);
  EXPECT_EQ(Z->getjumppage(), 5);
  second->SetChecked(false);
  EXPECT_EQ(Z->getjumppage(), 2);
}

TEST_F(PageBound, InTheDesignerJumpControlsWorkOnlyWhenSwitchedOn) {
  Form->SetDesigning(true);
  Z->SetNumPages(5);
  Z->setPage(1);
  auto* radio = Make<TAJumpRadioBtn>();
  radio->SetJumpPage(4);
  radio->SetChecked(true);
  EXPECT_TRUE(radio->IsDesigning());
  EXPECT_EQ(Z->getjumppage(), 2);
  radio->SetButtonMode(false);
  EXPECT_FALSE(radio->IsDesigning());
  EXPECT_EQ(Z->getjumppage(), 4);
  radio->SetButtonMode(true);
  EXPECT_EQ(Z->getjumppage(), 2);
}

}  // namespace
}  // namespace zelvar::test
