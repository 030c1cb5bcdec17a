// A program of another project that uses the installed library headless: it links
// Zelvar::zelvar only, so neither SDL2 nor Xlib comes with it.
#include <cstdio>
#include <memory>

#include "platform/backends/Headless.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/forms/Forms.h"

using namespace zelvar;

// A dialog with a default OK button, answered by Return from the headless backend.
static TModalResult RunDialog() {
  auto backend = std::make_unique<THeadlessBackend>();
  THeadlessBackend& input = *backend;
  Application().SetBackend(std::move(backend));
  std::unique_ptr<TForm> form(New<TForm>(nullptr));
  form->SetClientWidth(200);
  form->SetClientHeight(80);
  auto* ok = New<TButton>(form.get());
  ok->SetParent(form.get());
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  bool pressed = false;
  input.OnIdle = [&] {
    if (pressed) return false;
    pressed = true;
    Application().PostMessage({TMessage::KeyDown, form.get(), mbLeft, {}, 0, 0, VK_RETURN});
    return true;
  };
  TModalResult result = form->ShowModal();
  form.reset();
  Application().SetBackend(nullptr);
  return result;
}

int main() {
  TStringList pages{"Dialog", "Page 1"};
  std::string caption = Format("Wizard - Page %d of %d", {1, pages.Count() - 1});
  std::puts(caption.c_str());
  TModalResult result = RunDialog();
  std::printf("dialog closed with %d\n", static_cast<int>(result));
  return caption == "Wizard - Page 1 of 1" && result == mrOk ? 0 : 1;
}
