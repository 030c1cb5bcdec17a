// zelvar shot FORM OUT.png [--page N] [--design]
// zelvar run FORM [--script FILE] [--headless] [--progdir DIR]
// zelvar run --script FILE

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include "platform/backends/Window.h"
#include "platform/core/Paths.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Codecs.h"
#include "script/Script.h"
#include "script/ScriptSupport.h"
#include "tools/Commands.h"

namespace zelvar::tool {

using namespace zelvar::script;

namespace {

// The wizard container is found by what it has, not by its class: the first component,
// depth first, with a Page property.
TComponent* FindPaged(TComponent* owner) {
  return FindComponentWhere(owner, [](TComponent& c) { return c.ClassInfo().FindProp("Page"); });
}

// Loads the form and shows it in a window until the user closes it: a wizard from its start
// page, any other form modally. Prints the modal result as a script's `show` does. The window
// backend comes first, so that the form is scaled to its display as it is read.
int RunInWindow(TScript& script, const std::string& formFile) {
  std::string why;
  std::unique_ptr<TBackend> backend = OpenWindowBackend(&why);
  if (!backend) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    // Without a display variable the reason is plain; with one, SDL's reason helps.
    std::string reason = (display && *display) || (wayland && *wayland) ? " (" + why + ")" : "";
    return Fail(1, "no display" + reason + ": use --script to run " + formFile + " headless");
  }
  Application().SetBackend(std::move(backend));
  if (!script.LoadStartForm(formFile, false)) return 1;
  TForm& form = script.RequireForm();
  int32_t result = mrNone;
  try {
    result = Application().Run(&form);
  } catch (...) {
    return Fail(1, formFile + ": " + CurrentErrorMessage());
  }
  std::cout << "result = " << ModalResultText(result) << "\n";
  return 0;
}

// Reads an option's value; empty when it is missing.
std::optional<std::string> OptionValue(const TArgs& args, size_t& i) {
  if (i + 1 >= args.size()) return std::nullopt;
  return args[++i];
}

}  // namespace

int RunShot(const TArgs& args) {
  std::vector<std::string> files;
  std::optional<std::string> page;
  bool design = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--page") {
      page = OptionValue(args, i);
      if (!page) return Fail(2, "shot: --page needs a page number");
    } else if (args[i] == "--design") {
      design = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return Fail(2, "shot: unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return Fail(2, "shot: needs FORM and OUT.png (see zelvar shot --help)");
  const std::string& formFile = files[0];
  const std::string& out = files[1];

  TScript script(std::cout, std::cerr);
  if (!script.LoadStartForm(formFile, design)) return 1;
  TForm& form = script.RequireForm();
  try {
    if (page) {
      TComponent* paged = FindPaged(&form);
      if (!paged) return Fail(1, formFile + ": --page: no component has a Page property");
      SetPropText(paged, "Page", *page);
    }
    Application().ProcessMessages();
    // Painted here, so a form too large to paint is reported as the form's fault.
    form.Snapshot();
  } catch (...) {
    return Fail(1, formFile + ": " + CurrentErrorMessage());
  }
  try {
    SaveImageFile(out, form.Snapshot().Image());
  } catch (...) {
    return Fail(1, out + ": " + CurrentErrorMessage());
  }
  return 0;
}

int RunRun(const TArgs& args) {
  std::optional<std::string> scriptFile;
  std::vector<std::string> files;
  bool headless = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--script") {
      scriptFile = OptionValue(args, i);
      if (!scriptFile) return Fail(2, "run: --script needs a file");
    } else if (args[i] == "--progdir") {
      std::optional<std::string> dir = OptionValue(args, i);
      if (!dir) return Fail(2, "run: --progdir needs a folder");
      SetProgramDir(*dir);
    } else if (args[i] == "--headless") {
      headless = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return Fail(2, "run: unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() > 1) return Fail(2, "run: takes one FORM (see zelvar run --help)");
  if (files.empty() && !scriptFile) return Fail(2, "run: needs FORM or --script FILE");
  if (!scriptFile && headless)
    return Fail(2, "run: --headless needs --script FILE: nothing would drive the form");

  TScript script(std::cout, std::cerr);
  if (!scriptFile) return RunInWindow(script, files[0]);
  if (!files.empty() && !script.LoadStartForm(files[0], false)) return 1;
  return script.RunFile(*scriptFile);
}

}  // namespace zelvar::tool
