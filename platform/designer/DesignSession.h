#pragma once
// One form in the visual designer: where it comes from (its file and format), the form itself
// with its editor, and its history. Every change the designer reports is kept as the form's
// binary image, so undo and redo give back the very bytes of each state.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/designer/FormEditor.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {

class TDesignSession {
 public:
  // The most states kept; the oldest go first.
  static constexpr size_t kMaxHistory = 200;

  // Starts with a new empty form.
  TDesignSession();
  ~TDesignSession();
  TDesignSession(const TDesignSession&) = delete;
  TDesignSession& operator=(const TDesignSession&) = delete;

  // A new empty form, Form1 of class TForm1, not saved anywhere yet.
  void New();
  // Opens a form file (either format) for design. A file that cannot be read raises, naming
  // it, and the session stays as it was.
  void Open(const std::string& fileName);
  // Writes the form to its file in the format it was opened in; EInvalidOperation for a new
  // form that has no file yet.
  void Save();
  void SaveAs(const std::string& fileName, TFormFormat format);

  TForm& Form() const { return *FForm; }
  TFormEditor& Editor() const { return *FEditor; }
  const std::string& FileName() const { return FFileName; }
  TFormFormat Format() const { return FFormat; }
  // The form differs from what was last saved (or opened).
  bool IsModified() const { return FAt != FSavedAt; }

  bool CanUndo() const { return FAt > 0; }
  bool CanRedo() const { return FAt + 1 < FStates.size(); }
  void Undo();
  void Redo();
  // The form as a form file would hold it now (binary).
  const std::string& State() const { return FStates[FAt]; }

  // The form and its editor are about to go (before they are replaced): let go of them.
  std::function<void()> OnFormClosing;
  // The form was replaced (opened, new, undo, redo): wire the new editor.
  std::function<void()> OnFormChanged;
  // A change was recorded, undone or redone, or the form was saved: a title shows it.
  std::function<void()> OnStateChanged;

 private:
  void Install(std::unique_ptr<TForm> form);
  void Restore(size_t at);
  // The designer reported a change: a new state unless the bytes are the same.
  void Record();

  std::unique_ptr<TForm> FForm;
  std::unique_ptr<TFormEditor> FEditor;
  std::string FFileName;
  TFormFormat FFormat = TFormFormat::Text;
  std::vector<std::string> FStates;
  size_t FAt = 0;
  size_t FSavedAt = 0;
};

}  // namespace zelvar
