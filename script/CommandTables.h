#pragma once
// The command tables of `zelvar run`: each adds its commands to the runner's registry
// (AddScriptCommand). The program adds them before it runs a script (AddCommandTables,
// script/Setup.cpp).

namespace zelvar {
class TDesignerWindow;
}

namespace zelvar::script {

// load, new, create, set, expect, print, call, method, handle, click, key, mouse, show, fails,
// save, shot, cell, pick, ...: the toolkit's forms, controls and input.
void AddToolkitCommands();
// execute: the wizard container's own modal loop.
void AddWizardCommands();
// verbs, verb, edit, value: the designer's component and property editors; palette, select,
// inspect, inspect-dialog, undo, redo: the visual designer.
void AddDesignCommands();
// The visual designer's window the script drives (zelvar design), or nullptr / an error.
TDesignerWindow* ShownDesignerWindow();
TDesignerWindow& RequireDesignerWindow();

}  // namespace zelvar::script
