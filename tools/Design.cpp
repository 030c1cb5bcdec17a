// zelvar design [FORM] [--script FILE]

#include <iostream>
#include <memory>
#include <optional>

#include "controls/FlowModel.h"
#include "design/Zelvar32.h"
#include "platform/backends/Headless.h"
#include "platform/backends/Window.h"
#include "platform/designer/DesignerWindow.h"
#include "platform/designer/Palette.h"
#include "script/Script.h"
#include "script/ScriptSupport.h"
#include "tools/Commands.h"

namespace zelvar::tool {

using namespace zelvar::script;

void LoadDesignerPackages() {
  // The toolkit's page first, as a designer lists its own controls before a package's.
  RegisterStandardPalette();
  zelvar::Register();
}

int RunDesign(const TArgs& args) {
  std::optional<std::string> scriptFile;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--script") {
      if (i + 1 >= args.size()) return Fail(2, "design: --script needs a file");
      scriptFile = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return Fail(2, "design: unknown option '" + args[i] + "'");
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() > 1) return Fail(2, "design: takes at most one FORM (see zelvar design --help)");
  LoadDesignerPackages();

  std::unique_ptr<TBackend> window;
  if (!scriptFile) {
    std::string why;
    window = OpenWindowBackend(&why);
    if (!window) return Fail(1, "no display (" + why + "): use --script to drive the designer");
  }
  auto designer = std::make_unique<TDesignerWindow>(nullptr);
  designer->Palette().Rebuild();
  // On each save, the wizard's flow is checked and what the check finds is listed.
  designer->CheckOnSave = [](TForm& form) {
    TZelvar* zelvar = FindZelvar(form);
    return zelvar ? FlowCheckLines("", FlowModelOf(*zelvar)) : std::vector<std::string>{};
  };
  if (!files.empty()) {
    try {
      designer->Open(files[0]);
    } catch (...) {
      return Fail(1, CurrentErrorMessage());
    }
  }
  if (window) {
    Application().SetBackend(std::move(window));
    try {
      Application().Run(designer.get());
    } catch (...) {
      return Fail(1, CurrentErrorMessage());
    }
    return 0;
  }
  Application().UseHeadless();
  TScript script(std::cout, std::cerr);
  designer->Show();
  // The script's form is the one being designed, whichever form undo has made it.
  TDesignerWindow* shown = designer.get();
  script.UseForm([shown] { return &shown->Session().Form(); });
  int status = script.RunFile(*scriptFile);
  designer->Hide();
  return status;
}

}  // namespace zelvar::tool
