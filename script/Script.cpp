// The script runner: reads a script into lines, finds each line's command in the registry
// that the command tables fill, runs it, and steps through the lines that follow a modal
// command from inside its loop, through the headless backend's idle hook. It knows the
// toolkit only: the program adds the commands and registers the classes before it runs.
//
// Sections: lines and words · the registry · TScript (forms, handlers, running).

#include "script/Script.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <variant>

#include "platform/backends/Headless.h"
#include "platform/core/Paths.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/Text.h"
#include "platform/core/ValueText.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"
#include "script/ScriptSupport.h"

namespace zelvar::script {

namespace {

// Ends a program whose script failed (DriveProgram), thrown from the modal loop that waited
// through the program's own frames. It is no Exception, so the program's handlers for the
// toolkit's errors let it pass, and the runner's own steps pass it on untouched.
struct TScriptAbort {};

// Deeper than this, a script (or handlers it drives) is assumed to be looping.
constexpr size_t kMaxModalDepth = 32;

// Far beyond any real script; a bound on what a wrong name (a device, say) can cost.
constexpr size_t kMaxScriptSize = size_t{4} << 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// An event's argument as a handler's log line shows it.
std::string ArgText(const TEventArg& arg) {
  return std::visit(
      [](auto* p) -> std::string {
        using P = std::remove_cv_t<std::remove_pointer_t<decltype(p)>>;
        if constexpr (std::is_same_v<P, TObject>) {
          if (!p) return "nil";
          if (auto* c = dynamic_cast<TComponent*>(p); c && !c->Name().empty()) return c->Name();
          return p->ClassName();
        } else if constexpr (std::is_same_v<P, int32_t>) {
          return std::to_string(*p);
        } else if constexpr (std::is_same_v<P, bool>) {
          return *p ? "True" : "False";
        } else {
          return QuoteString(*p);
        }
      },
      arg.Value);
}

std::vector<TScriptCommand>& CommandTable() {
  static std::vector<TScriptCommand> table;
  return table;
}

// What a form loaded or made for design needs first; the program names it.
std::function<void()>& DesignPackage() {
  static std::function<void()> load;
  return load;
}

void LoadDesignPackage() {
  if (DesignPackage()) DesignPackage()();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Lines and words

std::string TScriptLine::Rest(size_t i) const {
  if (i >= Starts.size()) return "";
  std::string r = Text.substr(Starts[i]);
  // A trailing comment is not part of the value.
  size_t end = Starts.back() - Starts[i] + Words.back().size();
  return r.substr(0, end);
}

TScriptLine SplitScriptLine(std::string_view text, int number) {
  TScriptLine line;
  line.Number = number;
  line.Text = std::string(text);
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n) break;
    if (text[i] == '#' && (line.Words.empty() || i + 1 >= n || IsBlank(text[i + 1]))) break;
    size_t start = i;
    bool quoted = false;
    int depth = 0;
    for (; i < n; ++i) {
      char c = text[i];
      if (c == '\'') {
        quoted = !quoted;
      } else if (quoted) {
        continue;
      } else if (c == '(' || c == '[' || c == '{') {
        ++depth;
      } else if ((c == ')' || c == ']' || c == '}') && depth > 0) {
        --depth;
      } else if (depth == 0 && IsBlank(c)) {
        break;
      }
    }
    if (quoted) throw EScriptUsage("unterminated string");
    if (depth > 0) throw EScriptUsage("unclosed bracket");
    line.Starts.push_back(start);
    line.Words.emplace_back(text.substr(start, i - start));
  }
  return line;
}

// ---------------------------------------------------------------------------------------------
// The registry

void AddScriptCommand(TScriptCommand command) {
  auto& table = CommandTable();
  for (auto& c : table) {
    if (c.Name == command.Name) {
      c = std::move(command);
      return;
    }
  }
  table.push_back(std::move(command));
}

void SetDesignPackage(std::function<void()> load) {
  DesignPackage() = std::move(load);
}

// ---------------------------------------------------------------------------------------------
// TScript

TScript::TScript(std::ostream& out, std::ostream& err) : FOut(out), FErr(err) {
  auto backend = std::make_unique<THeadlessBackend>();
  backend->OnIdle = [this] { return RunNextLine(); };
  Application().SetBackend(std::move(backend));
}

TScript::~TScript() {
  // The backend calls back into this object; the default one does not.
  Application().SetBackend(nullptr);
  FDesigners.clear();
  for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) it->reset();
}

std::string TScript::Upper(std::string_view s) {
  return UpperCase(s);
}

std::string TScript::Resolve(const std::string& path) const {
  if (path.empty() || path[0] == '/' || FScriptDir.empty()) return path;
  return FScriptDir + path;
}

TForm* TScript::ActiveForm() const {
  const auto& shown = Application().ShownForms();
  if (FCurrent.empty() || shown.size() > FCurrent.back().Depth)
    return shown.empty() ? nullptr : shown.back();
  return FCurrent.back().Provider ? FCurrent.back().Provider() : FCurrent.back().Form;
}

TForm& TScript::RequireForm() const {
  TForm* f = ActiveForm();
  if (!f) throw Exception("no form: load one first (load FILE or new NAME)");
  return *f;
}

TComponent* TScript::Find(std::string_view name) const {
  TForm& form = RequireForm();
  if (TComponent* c = FindOnForm(form, name)) return c;
  // A form inside another's window (the designer's form): then the window's own components.
  if (auto* host = dynamic_cast<TForm*>(form.GetParentForm()); host && host != &form)
    if (TComponent* c = FindOnForm(*host, name)) return c;
  throw Exception("no component named '" + std::string(name) + "' on " + FormName(form));
}

TControl* TScript::FindControl(std::string_view name) const {
  TComponent* c = Find(name);
  auto* control = dynamic_cast<TControl*>(c);
  if (!control) throw Exception("'" + std::string(name) + "' is not a control");
  return control;
}

TFormReadOptions TScript::FormReadOptions(const std::string& formPath) {
  TFormReadOptions options;
  options.CreateRoot = [](const std::string& className, TComponent* owner) -> TComponent* {
    TForm* f = New<TForm>(owner);
    f->SetFormClassName(className);
    return f;
  };
  // The script's methods that name the program's handlers, then the program's own.
  for (const auto& [name, action] : FMethods)
    if (action.Kind == TAction::Handler)
      options.Handlers.Add(ProgramHandler(action.Name).Renamed(name));
  for (const TFormHandler& handler : FHandlers)
    if (!options.Handlers.Find(handler.Name())) options.Handlers.Add(handler);
  std::string dir = ExtractFilePath(formPath);
  options.FindHandler = [this, dir](const std::string& name) -> TGenericHandler {
    if (auto action = FindMethod(name)) return MakeHandler(name, *action);
    // A handler the script does not declare, named like a form file beside the form, hands
    // that form over (a wizard page's embedded form), quietly.
    if (std::string file = dir + name + ".txt"; FileExists(file)) {
      TAction action;
      action.Kind = TAction::Form;
      action.File = file;
      action.Quiet = true;
      return MakeHandler(name, action);
    }
    // One named like a script beside it runs that script, quietly: behaviour for a form that
    // is run without a program of its own.
    if (std::string file = dir + name + ".zs"; FileExists(file)) {
      TAction action = RunAction(file);
      action.Quiet = true;
      return MakeHandler(name, action);
    }
    return {};
  };
  return options;
}

void TScript::AttachDesigner(TForm& form) {
  LoadDesignPackage();
  FDesigners.push_back(std::make_unique<TFormDesigner>(form));
}

TForm* TScript::LoadForm(const std::string& path, bool design) {
  if (design) LoadDesignPackage();
  std::unique_ptr<TComponent> root;
  try {
    TFormReadOptions options = FormReadOptions(path);
    options.Designing = design;
    root.reset(ReadComponentFile(path, options));
  } catch (...) {
    throw Exception(path + ": " + CurrentErrorMessage());
  }
  auto* form = dynamic_cast<TForm*>(root.get());
  if (!form) throw Exception(path + ": the root " + root->ClassName() + " is not a form");
  FForms.push_back(std::move(root));
  if (design) AttachDesigner(*form);
  MakeCurrent(form);
  return form;
}

TForm* TScript::NewForm(const std::string& name, bool design) {
  auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
  form->SetName(name);
  TForm* made = form.get();
  FForms.push_back(std::move(form));
  if (design) AttachDesigner(*made);
  MakeCurrent(made);
  return made;
}

int32_t TScript::RunModal(TForm& form) {
  return RunModal(form, [&form] { return form.ShowModal(); });
}

int32_t TScript::RunModal(TForm& form, const std::function<int32_t()>& loop) {
  if (FModalDepth >= static_cast<int>(kMaxModalDepth))
    throw Exception("too many nested modal loops");
  int32_t result = 0;
  {
    TRestore<int> depth(FModalDepth, FModalDepth + 1);
    result = loop();
  }
  // Forms made inside loops that have ended are done with; so is this one if a loop made it.
  size_t shown = Application().ShownForms().size();
  std::erase_if(FCurrent, [shown](const TCurrent& c) { return c.Depth > shown; });
  if (!FCurrent.empty() && FCurrent.back().Form == &form && FCurrent.back().Depth > 0)
    FCurrent.pop_back();
  FLastResult = result;
  FOut << "result = " << ModalResultText(result) << "\n";
  return result;
}

void TScript::MakeCurrent(TForm* form) {
  FCurrent.push_back({form, Application().ShownForms().size()});
}

TScript::TAction TScript::ParseAction(const TScriptLine& line, size_t first) const {
  const auto& w = line.Words;
  TAction a;
  if (first >= w.size()) throw EScriptUsage("an action is missing: log, veto, redirect N, ...");
  const std::string& kind = w[first];
  size_t words = 1;
  if (kind == "log") {
    a.Kind = TAction::Log;
  } else if (kind == "veto") {
    a.Kind = TAction::Veto;
  } else if (kind == "refuse") {
    a.Kind = TAction::Refuse;
  } else if (kind == "none") {
    a.Kind = TAction::None;
  } else if (kind == "redirect") {
    if (first + 1 >= w.size()) throw EScriptUsage("usage: redirect N");
    a.Kind = TAction::Redirect;
    a.Value = ParseInt(w[first + 1]);
    words = 2;
  } else if (kind == "form") {
    if (first + 1 >= w.size()) throw EScriptUsage("usage: form FILE");
    a.Kind = TAction::Form;
    a.File = Resolve(w[first + 1]);
    words = 2;
  } else if (kind == "run") {
    if (first + 1 >= w.size()) throw EScriptUsage("usage: run FILE");
    a = RunAction(Resolve(w[first + 1]));
    words = 2;
  } else if (kind == "handler") {
    if (first + 1 >= w.size()) throw EScriptUsage("usage: handler NAME");
    a.Kind = TAction::Handler;
    a.Name = ProgramHandler(w[first + 1]).Name();
    words = 2;
  } else {
    throw EScriptUsage(
        "unknown action '" + kind +
        "' (log, veto, redirect N, refuse, form FILE, run FILE, handler NAME, none)");
  }
  if (first + words != w.size()) throw EScriptUsage("unexpected '" + w[first + words] + "'");
  return a;
}

TScript::TAction TScript::RunAction(const std::string& file) {
  TAction a;
  a.Kind = TAction::Run;
  a.File = file;
  a.Lines = std::make_shared<const std::vector<TScriptLine>>(ReadScriptLines(file));
  return a;
}

std::vector<TScriptLine> TScript::ReadScriptLines(const std::string& path) {
  std::string text;
  try {
    text = ReadRegularFile(path, kMaxScriptSize);
  } catch (...) {
    throw Exception(path + ": " + CurrentErrorMessage());
  }
  std::vector<TScriptLine> lines;
  int number = 0;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    ++number;
    try {
      lines.push_back(SplitScriptLine(std::string_view(text).substr(pos, end - pos), number));
    } catch (const Exception& e) {
      throw Exception(path + ":" + std::to_string(number) + ": " + e.Message());
    }
    pos = end + 1;
  }
  return lines;
}

void TScript::RunHandlerScript(const TAction& action) {
  for (const TScriptLine& line : *action.Lines) {
    if (line.Words.empty()) continue;
    try {
      Execute(line);
    } catch (const Exception& e) {
      throw Exception(action.File + ":" + std::to_string(line.Number) + ": " + e.Message());
    }
  }
}

TGenericHandler TScript::MakeHandler(const std::string& name, TAction action) {
  return [this, name, action](TEventCall& call) {
    if (action.Kind == TAction::None) return;
    if (!action.Quiet) {
      std::string line = name + "(";
      for (size_t i = 0; i < call.Args.size(); ++i) {
        if (i) line += ", ";
        line += ArgText(call.Args[i]);
      }
      FOut << line << ")\n";
      FOut.flush();
    }
    switch (action.Kind) {
      case TAction::Veto:
      case TAction::Refuse:
        // An event answers either through its result or through a var flag (CanSelect).
        call.Result = false;
        if (!call.HasResult) {
          for (TEventArg& a : call.Args)
            if (a.IsVar && std::holds_alternative<bool*>(a.Value)) {
              *std::get<bool*>(a.Value) = false;
              break;
            }
        }
        break;
      case TAction::Form: {
        if (!call.HasObjectResult) throw Exception(name + " does not ask for a form");
        // The event's caller takes the form and frees it.
        TComponent* root = ReadComponentFile(action.File, FormReadOptions(action.File));
        if (!dynamic_cast<TForm*>(root)) {
          std::string cls = root->ClassName();
          delete root;
          throw Exception(action.File + ": the root " + cls + " is not a form");
        }
        call.ObjectResult = root;
        break;
      }
      case TAction::Run:
        RunHandlerScript(action);
        break;
      case TAction::Redirect: {
        for (TEventArg& a : call.Args)
          if (a.IsVar && std::holds_alternative<int32_t*>(a.Value)) {
            *std::get<int32_t*>(a.Value) = action.Value;
            return;
          }
        throw Exception(name + " has no integer passed by reference to redirect");
      }
      default:
        break;
    }
  };
}

std::optional<TScript::TAction> TScript::FindMethod(std::string_view name) const {
  auto it = FMethods.find(Upper(name));
  if (it == FMethods.end()) return std::nullopt;
  return it->second;
}

const TFormHandler& TScript::ProgramHandler(std::string_view name) const {
  if (const TFormHandler* handler = FHandlers.Find(name)) return *handler;
  if (FHandlers.Empty())
    throw Exception("no handler '" + std::string(name) + "': the program gave the script none");
  throw Exception("no handler '" + std::string(name) + "' among the program's (" +
                  FHandlers.NameList() + ")");
}

void TScript::UseForm(TForm& form) {
  MakeCurrent(&form);
}

void TScript::UseForm(std::function<TForm*()> form) {
  FCurrent.push_back({nullptr, Application().ShownForms().size(), std::move(form)});
}

bool TScript::LoadStartForm(const std::string& path, bool design) {
  try {
    LoadForm(path, design);
  } catch (...) {
    FErr << "zelvar: " << CurrentErrorMessage() << "\n";
    return false;
  }
  return true;
}

void TScript::Execute(const TScriptLine& line) {
  if (line.Words.empty()) throw EScriptUsage("a command is missing");
  const std::string& name = line.Words[0];
  for (const TScriptCommand& c : CommandTable()) {
    if (c.Name != name) continue;
    size_t args = line.Words.size() - 1;
    if (args < c.MinWords || args > c.MaxWords) throw EScriptUsage("usage: " + c.Usage);
    c.Run(*this, line);
    return;
  }
  throw EScriptUsage("unknown command '" + name + "'");
}

bool TScript::RunNextLine() {
  if (FEnded) return false;
  while (FNext < FLines.size() && FLines[FNext].Words.empty()) ++FNext;
  if (FNext >= FLines.size()) {
    // Only reached from inside a modal loop: the top level stops before.
    FEnded = true;
    if (TForm* waiting = Application().ActiveForm()) FEndedForm = FormName(*waiting);
    return false;
  }
  const TScriptLine& line = FLines[FNext++];
  try {
    if (Application().ShownForms().size() > kMaxModalDepth)
      throw Exception("too many nested modal loops");
    Execute(line);
    Application().ProcessMessages();
  } catch (const EScriptFailure&) {
    throw;
  } catch (const TScriptAbort&) {
    throw;
  } catch (const Exception& e) {
    if (FEnded)
      throw EScriptFailure(line.Number, "script ended inside a modal loop of " + FEndedForm);
    throw EScriptFailure(line.Number, e.Message());
  } catch (...) {
    throw EScriptFailure(line.Number, CurrentErrorMessage());
  }
  return true;
}

bool TScript::Open(const std::string& path) {
  FScriptPath = path;
  FScriptDir = ExtractFilePath(path);
  try {
    FLines = ReadScriptLines(path);
  } catch (const Exception& e) {
    FErr << "zelvar: " << e.Message() << "\n";
    return false;
  }
  return true;
}

const TScriptLine* TScript::NextLine() {
  while (FNext < FLines.size() && FLines[FNext].Words.empty()) ++FNext;
  return FNext < FLines.size() ? &FLines[FNext] : nullptr;
}

void TScript::Report(int line, const std::string& message) {
  FOut.flush();
  FErr << "zelvar: " << FScriptPath << ":" << line << ": " << message << "\n";
}

int TScript::RunFile(const std::string& path) {
  if (!Open(path)) return 1;
  try {
    while (FNext < FLines.size()) RunNextLine();
  } catch (const EScriptFailure& e) {
    Report(e.Line, e.Message());
    return 1;
  }
  FOut.flush();
  return 0;
}

// ---------------------------------------------------------------------------------------------
// A program's own modal loops driven by a script

// The script behind DriveProgram, for the rest of the program's life. A failure is reported
// at once and thrown through the program's frames as TScriptAbort; where unwinding cannot
// carry it to the end of the program, the process ends with status 1 itself: when the abort
// is not caught (terminate), when the program caught it and waits for input again, and at
// exit after a failure or with lines left. It ends with _Exit, flushing first: the program's
// frames and forms are still there, so nothing at exit may run under them.
class TProgramInput {
 public:
  static void Start(const std::string& path) {
    if (tInput) return;
    // Never freed: it answers at exit, whatever order the program's statics go in.
    tInput = new TProgramInput();
    tInput->FPreviousTerminate = std::set_terminate(OnTerminate);
    std::atexit(AtExit);
    auto backend = std::make_unique<THeadlessBackend>();
    backend->OnIdle = [] { return tInput->Idle(); };
    Application().SetBackend(std::move(backend));
    SetHandlersObserver(
        [](const TFormHandlers& handlers) { tInput->FScript.SetHandlers(handlers); });
    if (!tInput->FScript.Open(path)) {
      tInput->FFailed = true;
      throw TScriptAbort{};
    }
  }

 private:
  TProgramInput() : FScript(std::cout, std::cerr) {}

  bool Idle() {
    // The program caught the abort and waits for input again: it will get none.
    if (FFailed) Exit();
    try {
      if (FScript.RunNextLine()) return true;
    } catch (const EScriptFailure& e) {
      Fail(e.Line, e.Message());
    }
    Fail(LastLine(), "script ended inside a modal loop of " + FScript.FEndedForm);
  }

  [[noreturn]] void Fail(int line, const std::string& message) {
    FScript.Report(line, message);
    FFailed = true;
    throw TScriptAbort{};
  }

  // Where the script ended: its last command.
  int LastLine() const {
    const auto& lines = FScript.FLines;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (!it->Words.empty()) return it->Number;
    return 1;
  }

  [[noreturn]] static void Exit() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(1);
  }

  static void AtExit() {
    if (!tInput->FFailed) {
      const TScriptLine* line = tInput->FScript.NextLine();
      if (!line) return;
      tInput->FScript.Report(line->Number, "not run: the program ended first");
    }
    Exit();
  }

  static void OnTerminate() {
    if (tInput->FFailed) Exit();
    if (tInput->FPreviousTerminate) tInput->FPreviousTerminate();
    std::abort();
  }

  static inline TProgramInput* tInput = nullptr;
  TScript FScript;
  bool FFailed = false;
  std::terminate_handler FPreviousTerminate = nullptr;
};

void DriveProgram(const std::string& scriptFile) {
  TProgramInput::Start(scriptFile);
}

}  // namespace zelvar::script
