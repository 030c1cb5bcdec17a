// zelvar check FORM [--dot]

#include <iostream>
#include <memory>

#include "container/ZelvarA.h"
#include "controls/FlowModel.h"
#include "platform/designer/DesignSession.h"
#include "script/ScriptSupport.h"
#include "tools/Commands.h"

namespace zelvar::tool {

int RunCheck(const TArgs& args) {
  bool dot = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--dot")
      dot = true;
    else if (a.size() > 1 && a[0] == '-')
      return Fail(2, "check: unknown option '" + a + "'");
    else
      files.push_back(a);
  }
  if (files.size() != 1) return Fail(2, "check: needs one FORM (see zelvar check --help)");
  const std::string& file = files[0];
  std::unique_ptr<TForm> form;
  try {
    // Read as the designer reads it: handler names need no program behind them.
    form.reset(ReadForm(file, DesignReadOptions()));
  } catch (...) {
    return Fail(1, script::CurrentErrorMessage());
  }
  TZelvar* zelvar = FindZelvar(*form);
  if (!zelvar) return Fail(1, file + ": the form holds no wizard (TZelvar)");
  TFlowModel model = FlowModelOf(*zelvar);
  bool errors = false;
  // With --dot the graph is the output; the findings go beside it, to standard error.
  std::ostream& out = dot ? std::cerr : std::cout;
  for (const TFlowFinding& f : CheckFlow(model)) {
    out << FlowFindingText(file, model, f) << "\n";
    errors = errors || f.Error;
  }
  if (dot) std::cout << FlowDot(model);
  return errors ? 1 : 0;
}

}  // namespace zelvar::tool
