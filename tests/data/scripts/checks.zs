# Check boxes toggle by a click, Space and their accelerators, the label's letter focuses the
# box it names, and the progress bar steps within its range.
load checks.txt
handle Shortcut.OnClick log
show
click Shortcut
expect Shortcut.State cbChecked
expect Shortcut.Focused True
key Space
expect Shortcut.Checked False
key s alt
expect Shortcut.Checked True
# A double click is two clicks to a check box, as in the classic toolkit.
dblclick Shortcut
expect Shortcut.Checked True
# Grayed is allowed: a click goes on to checked, then unchecked, then grayed again.
key e alt
expect Extras.State cbChecked
expect Extras.Focused True
click Extras
expect Extras.State cbUnchecked
key Space
expect Extras.State cbGrayed
# Disabled, it takes nothing; the label's letter then finds nothing to focus.
focus Shortcut
set Extras.Enabled False
click Extras
key e alt
key f alt
expect Extras.State cbGrayed
expect Shortcut.Focused True
set Extras.Enabled True
key f alt
expect Extras.Focused True
expect Extras.State cbGrayed
# 30 + 10, drawn as four whole blocks of 8 with 2 between.
call Progress.StepIt
expect Progress.Position 40
expect-pixel 39 8 #000080 Progress
expect-pixel 40 8 #C0C0C0 Progress
call Progress.StepBy 100
expect Progress.Position 100
call Progress.StepIt
expect Progress.Position 0
set Progress.Position 150
expect Progress.Position 100
fails set Progress.Min 101
expect Progress.Min 0
click OkButton
expect-result mrOk
