// The setup wizard designed in examples/setup.txt, with its handlers in C++: the options page
// is checked before the wizard goes on, and the choices are read once it has finished.
// Run it from examples/, where the form files are.
#include <zelvar/window.h>
#include <zelvar/zelvar.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace zelvar;

int main() {
  Initialize();
  TForm* form = nullptr;  // set once read; the handlers run after that
  auto progress = [&] { return Find<TProgressBar>(form, "Progress"); };
  auto installer = [&] { return Find<TTimer>(form, "Installer"); };
  auto checker = [&] { return Find<TTimer>(form, "Checker"); };
  TFormHandlers handlers{
      {"Details", [] { return ReadForm("Details.txt"); }},
      // The checking page goes on by itself; Next waits on the install page until the timer
      // has filled the bar.
      {"PageShown",
       [&](TZelvar* wizard, int32_t page) {
         bool checking = page == 4;
         bool installing = page == 6 && progress()->Position() < 100;
         checker()->SetEnabled(checking);
         installer()->SetEnabled(installing);
         wizard->BtnNext()->SetEnabled(!checking && !installing);
         auto* list = Find<TListBox>(form, "LanguageList");
         if (list->ItemIndex() < 0) list->SetItemIndex(0);
         Find<TLabel>(form, "SummaryLanguage")->SetCaption(list->Items()->Get(list->ItemIndex()));
         Find<TLabel>(form, "SummaryFolder")->SetCaption(Find<TEdit>(form, "FolderEdit")->Text());
         for (std::string part : {"Program", "Examples", "Docs"})
           Find<TCheckBox>(form, "Summary" + part)
               ->SetChecked(Find<TCheckBox>(form, part + "Part")->Checked());
       }},
      {"CheckTick",
       [&] {
         checker()->SetEnabled(false);
         Find<TZelvar>(form, "Zelvar1")->JumpRel(1);
       }},
      {"InstallTick",
       [&] {
         progress()->StepBy(4);
         if (progress()->Position() < 100) return;
         installer()->SetEnabled(false);
         Find<TZelvar>(form, "Zelvar1")->BtnNext()->SetEnabled(true);
       }},
  };
  std::unique_ptr<TForm> setup(ReadForm("setup.txt", handlers));
  form = setup.get();
  auto* wizard = Find<TZelvar>(form, "Zelvar1");
  auto* folder = Find<TEdit>(form, "FolderEdit");
  // The form marks the folder Required, so Next waits while it is empty; the program adds
  // its own rule.
  wizard->OnCanPageChange = [&](TZelvar*, int32_t from, int32_t& to) {
    if (from != 3 || to < from || folder->Text().starts_with('/')) return true;
    MessageDlg("The folder must be a full path, starting with /.", mtWarning, {mbOK});
    return false;  // stay on the options page
  };
  if (wizard->Execute(1) != mrOk) {
    std::puts("Setup was cancelled.");
    return 1;
  }
  std::printf("Installed into %s, language %s\n", folder->Text().c_str(),
              Find<TLabel>(form, "SummaryLanguage")->Caption().c_str());
  return 0;
}
