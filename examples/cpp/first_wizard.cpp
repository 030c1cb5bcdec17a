// Your first wizard: three pages built in code. The second page asks for a name and does not
// let the wizard go on without one; the last page greets it.
#include <zelvar/window.h>
#include <zelvar/zelvar.h>

#include <cstdio>
#include <memory>

using namespace zelvar;

// A panel that the wizard shows on one page only, with a line of text at its top.
static TLabel* AddPage(TZelvar* wizard, int32_t page, const char* text) {
  auto* panel = New<TAPanel>(wizard->Owner());
  wizard->Place(panel, page, Rect(8, 8, 392, 150));
  auto* label = New<TLabel>(wizard->Owner());
  label->SetParent(panel);
  label->SetBounds(12, 12, 360, 20);
  label->SetCaption(text);
  return label;
}

int main() {
  Initialize();
  std::unique_ptr<TForm> form(New<TForm>(nullptr));
  form->SetName("FirstWizard");
  form->SetClientWidth(400);
  form->SetClientHeight(200);
  auto* wizard = New<TZelvar>(form.get());
  wizard->SetName("Wizard");
  wizard->SetParent(form.get());
  wizard->SetAlign(alClient);
  wizard->SetNumPages(3);
  wizard->UseDefaultButtons();  // Back, Next, Finish and Cancel, with their texts and glyphs
  wizard->BtnChangeDialog()->SetShow(false);  // no dialog view in this one

  AddPage(wizard, 1, "Welcome! This wizard takes three steps.");
  auto* name = New<TEdit>(form.get());
  name->SetName("NameEdit");
  name->SetParent(AddPage(wizard, 2, "What is your name?")->Parent());
  name->SetBounds(12, 40, 200, 21);
  TLabel* greeting = AddPage(wizard, 3, "");

  wizard->OnCanPageChange = [&](TZelvar*, int32_t from, int32_t& to) {
    if (from != 2 || to < from || !name->Text().empty()) return true;
    MessageDlg("Please enter your name.", mtWarning, {mbOK});
    return false;  // stay on the page
  };
  wizard->OnPageChange = [&](TZelvar*, int32_t page) {
    if (page == 3) greeting->SetCaption("Hello, " + name->Text() + "! Click Finish to end.");
  };

  if (wizard->Execute(1) != mrOk) {
    std::puts("Cancelled.");
    return 1;
  }
  std::printf("Finished: %s\n", name->Text().c_str());
  return 0;
}
