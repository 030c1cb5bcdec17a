#pragma once
// The script runner behind `zelvar run`: reads a script, runs its commands one by one on the
// headless backend and reports the first failure with the script's name and line. Commands
// that show a form modally run the following lines from inside the modal loop, through the
// backend's idle hook.

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/designer/Designer.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
class TForm;
class TControl;
}  // namespace zelvar

namespace zelvar::tool {

// A line split into words. Quoted strings and bracketed lists stay whole, so a value may hold
// blanks; Rest(i) is the raw text from word i to the end, for values.
struct TScriptLine {
  int Number = 0;
  std::string Text;
  std::vector<std::string> Words;
  std::vector<size_t> Starts;  // where each word begins in Text
  std::string Rest(size_t i) const;
};

// Splits one line; raises EScriptUsage for an unterminated string or bracket. A '#' that
// begins a word and is followed by a blank (or ends the line) starts a comment, so colours
// (#FF0000) and character codes (#13) stay values.
TScriptLine SplitScriptLine(std::string_view text, int number);

// A script error that is the script's own fault (an unknown command, the wrong number of
// words): `fails` does not count it as the failure it waits for.
class EScriptUsage : public Exception {
 public:
  using Exception::Exception;
};

class TScript;
using TScriptHandler = std::function<void(TScript&, const TScriptLine&)>;

struct TScriptCommand {
  std::string Name;
  size_t MinWords = 0;  // after the command's name
  size_t MaxWords = 0;
  std::string Usage;
  TScriptHandler Run;
};

// Adds a command (the wizard package adds its own); a later one of the same name replaces it.
void AddScriptCommand(TScriptCommand command);

class TScript {
 public:
  // out receives print, log and result lines; errors go to err as `zelvar: FILE:LINE: msg`.
  TScript(std::ostream& out, std::ostream& err);
  ~TScript();
  TScript(const TScript&) = delete;
  TScript& operator=(const TScript&) = delete;

  // Loads a form given on the command line (relative to the working folder); false after
  // reporting a bad form file as `zelvar: FILE: message`.
  bool LoadStartForm(const std::string& path, bool design);
  // Runs a script file; the exit status (0 all good, 1 a failure).
  int RunFile(const std::string& path);

  // --- for commands
  std::ostream& Out() { return FOut; }
  // A path relative to the script's folder.
  std::string Resolve(const std::string& path) const;
  // The form commands act on: the one the innermost modal loop shows, else the last loaded.
  TForm* ActiveForm() const;
  TForm& RequireForm() const;
  // A component by name on the active form (see FindComponentIn); raises when missing.
  TComponent* Find(std::string_view name) const;
  TControl* FindControl(std::string_view name) const;
  // How the script reads form files: unregistered form classes, and its methods as handlers.
  // Handlers the script does not declare may be forms beside formPath (NAME.txt).
  TFormReadOptions FormReadOptions(const std::string& formPath = "");
  // Loads a form file and makes it the active form.
  TForm* LoadForm(const std::string& path, bool design);
  TForm* NewForm(const std::string& name, bool design);
  // Shows the active form modally; the lines after the current one run inside the loop.
  // Prints and remembers the result.
  int32_t RunModal(TForm& form);
  // The same for a loop that something else starts (a wizard's Execute), showing form.
  int32_t RunModal(TForm& form, const std::function<int32_t()>& loop);
  // Runs one command line (for `fails`).
  void Execute(const TScriptLine& line);

  // Script methods: handlers the script declares with `method`.
  struct TAction {
    enum TKind { None, Log, Veto, Redirect, Refuse, Form } Kind = Log;
    int32_t Value = 0;
    std::string File;    // Form: the form file to load, resolved against the script's folder
    bool Quiet = false;  // no log line when raised
  };
  TAction ParseAction(const TScriptLine& line, size_t first) const;
  // A handler that logs under name and applies the action.
  TGenericHandler MakeHandler(const std::string& name, TAction action);
  void DeclareMethod(const std::string& name, TAction action) { FMethods[Upper(name)] = action; }
  std::optional<TAction> FindMethod(std::string_view name) const;

  std::optional<int32_t> LastResult() const { return FLastResult; }
  // True once the script ran out while a modal loop waited for it.
  bool Ended() const { return FEnded; }

 private:
  static std::string Upper(std::string_view s);
  bool RunNextLine();  // false at the end of the script

  std::ostream& FOut;
  std::ostream& FErr;
  std::string FScriptPath;
  std::string FScriptDir;
  std::vector<TScriptLine> FLines;
  size_t FNext = 0;
  bool FEnded = false;
  std::string FEndedForm;  // the form whose loop waited when the script ran out
  int FModalDepth = 0;

  std::vector<std::unique_ptr<TComponent>> FForms;  // everything loaded or made, kept alive
  // The designers of forms loaded or made for design; they go before their forms.
  std::vector<std::unique_ptr<TFormDesigner>> FDesigners;
  void AttachDesigner(TForm& form);
  // Forms loaded or made, each with the number of forms shown at that moment: one made
  // inside a modal loop is current until its own loop ends, then the loop's form is again.
  struct TCurrent {
    TForm* Form;
    size_t Depth;
  };
  std::vector<TCurrent> FCurrent;
  void MakeCurrent(TForm* form);
  std::map<std::string, TAction> FMethods;
  std::optional<int32_t> FLastResult;
};

// Depth first: the owner's own components, then those each of them owns.
TComponent* FindComponentIn(const TComponent* owner, std::string_view name);

// The text of a modal result: mrOk, mrCancel, ... or the number.
std::string ModalResultText(int32_t result);

// Registers the toolkit's control classes and the wizard package's with the form reader.
void RegisterToolkitClasses();
// Adds the wizard package's script commands (tools/WizardCommands.cpp).
void AddWizardCommands();

// The commands `zelvar shot` and `zelvar run` (tools/Run.cpp).
int RunShot(const std::vector<std::string>& args);
int RunRun(const std::vector<std::string>& args);

}  // namespace zelvar::tool
