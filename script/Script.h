#pragma once
// The script runner behind `zelvar run`: reads a script, runs its commands one by one on the
// headless backend and reports the first failure with the script's name and line. Commands
// that show a form modally run the following lines from inside the modal loop, through the
// backend's idle hook. It finds commands in a registry that the command tables fill
// (script/CommandTables.h) and knows nothing of the package: the program registers the
// classes and adds the tables before it runs a script (AddCommandTables).

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

namespace zelvar::script {

class TProgramInput;

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

// A failure already placed at its line. It passes through modal loops and `fails` untouched,
// so a line run inside a loop is reported under its own number, not the `show` line's.
class EScriptFailure : public Exception {
 public:
  EScriptFailure(int line, std::string message) : Exception(std::move(message)), Line(line) {}
  int Line;
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

// Adds a command to the registry the runner finds commands in (the command tables of
// script/CommandTables.h add theirs); a later one of the same name replaces it.
void AddScriptCommand(TScriptCommand command);

// Adds the command tables (script/CommandTables.h) and names the design package: what running
// a script needs besides the classes a form file names (zelvar::Initialize registers those).
// Adding them again replaces them.
void AddCommandTables();

// AddCommandTables unless they are in place already.
void EnsureCommandTables();

// Makes the script file the input of this program's own modal loops (zelvar::Initialize does
// it when ZELVAR_SCRIPT names a script): from now on the application runs headless, and each
// time one of its modal loops waits for input the script's next line runs against the active
// form. Handlers the program gives the form reader the script can bind by name (the last
// table given). A failure prints `zelvar: FILE:LINE: message` and ends the program with status
// 1, and so do the script ending while a loop waits and the program ending before the script
// did (naming the first line not run).
void DriveProgram(const std::string& scriptFile);

// What loading or making a form for design loads first: the design-time package, as a
// designer loads it. The program names it; the runner knows no package.
void SetDesignPackage(std::function<void()> load);

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
  // Makes the program's own form the active one, as a start form; the script does not own it,
  // and it must outlive the script.
  void UseForm(TForm& form);
  // The same for a form the program may replace while the script runs (a designer's form,
  // which undo rebuilds): asked for each time a command needs the active form.
  void UseForm(std::function<TForm*()> form);
  // The program's handlers: what `handler NAME` names, and what forms the script loads bind.
  void SetHandlers(TFormHandlers handlers) { FHandlers = std::move(handlers); }
  // The program's handler of that name; raises naming the handlers there are.
  const TFormHandler& ProgramHandler(std::string_view name) const;
  // Runs a script file; the exit status (0 all good, 1 a failure).
  int RunFile(const std::string& path);

  // --- for commands
  std::ostream& Out() { return FOut; }
  // A path relative to the script's folder.
  std::string Resolve(const std::string& path) const;
  // The form commands act on: the one the innermost modal loop shows, else the last loaded.
  TForm* ActiveForm() const;
  TForm& RequireForm() const;
  // A component by name on the active form, and on the forms embedded in its controls (see
  // FindOnForm in platform/forms/Forms.h); raises when missing.
  TComponent* Find(std::string_view name) const;
  TControl* FindControl(std::string_view name) const;
  // How the script reads form files: unregistered form classes, and its methods as handlers.
  // Handlers the script does not declare may be forms beside formPath (NAME.txt), handed
  // over, or scripts beside it (NAME.zs), run each time the event is raised.
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
  // The lines of a script file, split; raises naming the file and line.
  static std::vector<TScriptLine> ReadScriptLines(const std::string& path);

  // Script methods: handlers the script declares with `method`.
  struct TAction {
    enum TKind { None, Log, Veto, Redirect, Refuse, Form, Run, Handler } Kind = Log;
    int32_t Value = 0;
    std::string Name;  // Handler: the program's handler
    // Form: the form file to load; Run: the script to run; resolved against the script's folder
    std::string File;
    std::shared_ptr<const std::vector<TScriptLine>> Lines;  // Run: the script's lines
    bool Quiet = false;                                     // no log line when raised
  };
  TAction ParseAction(const TScriptLine& line, size_t first) const;
  // The action that runs the script file on each call; its lines are read now.
  static TAction RunAction(const std::string& file);
  // A handler that logs under name and applies the action.
  TGenericHandler MakeHandler(const std::string& name, TAction action);
  void DeclareMethod(const std::string& name, TAction action) { FMethods[Upper(name)] = action; }
  std::optional<TAction> FindMethod(std::string_view name) const;

  std::optional<int32_t> LastResult() const { return FLastResult; }
  // True once the script ran out while a modal loop waited for it.
  bool Ended() const { return FEnded; }

 private:
  friend class TProgramInput;
  static std::string Upper(std::string_view s);
  // Reads the script's lines; false after reporting a script that cannot be read.
  bool Open(const std::string& path);
  bool RunNextLine();  // false at the end of the script
  // The first line not run yet, or nullptr.
  const TScriptLine* NextLine();
  // Reports a failure at a line of the script as `zelvar: FILE:LINE: message`.
  void Report(int line, const std::string& message);
  void RunHandlerScript(const TAction& action);

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
    std::function<TForm*()> Provider = {};  // when set, it names the form
  };
  std::vector<TCurrent> FCurrent;
  void MakeCurrent(TForm* form);
  std::map<std::string, TAction> FMethods;
  TFormHandlers FHandlers;
  std::optional<int32_t> FLastResult;
};

}  // namespace zelvar::script
