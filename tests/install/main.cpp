// A program of another project that uses the installed library headless: one include, one
// set-up call, a form read from text and run to its end by the headless backend. It links
// Zelvar::zelvar only, so neither SDL2 nor Xlib comes with it.
#include <zelvar/version.h>
#include <zelvar/zelvar.h>

#include <cstdio>
#include <memory>

using namespace zelvar;

static const char* const kForm = R"(object Setup: TForm
  Caption = 'Setup'
  ClientWidth = 300
  ClientHeight = 120
  object Wizard: TZelvar
    NumPages = 3
  end
  object OK: TButton
    Caption = 'OK'
    ModalResult = 1
  end
end
)";

// Shows the form modally; when it waits for input, its OK button is clicked.
static TModalResult Run(TForm& form) {
  auto backend = std::make_unique<THeadlessBackend>();
  THeadlessBackend& input = *backend;
  Application().SetBackend(std::move(backend));
  bool clicked = false;
  input.OnIdle = [&] {
    if (clicked) return false;
    clicked = true;
    Find<TButton>(form, "OK")->Click();
    return true;
  };
  TModalResult result = form.ShowModal();
  Application().SetBackend(nullptr);
  return result;
}

int main() {
  Initialize();
  std::unique_ptr<TComponent> root(ReadComponent(kForm));
  auto* form = dynamic_cast<TForm*>(root.get());
  if (!form) return 1;
  const std::string pages = GetPropText(Find<TZelvar>(form, "Wizard"), "NumPages");
  const TModalResult result = Run(*form);
  std::printf("Zelvar %s: a wizard of %s pages, closed with %d\n", ZELVAR_VERSION_STRING,
              pages.c_str(), static_cast<int>(result));
  return pages == "3" && result == mrOk ? 0 : 1;
}
