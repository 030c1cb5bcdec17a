# A wizard made from nothing in the designer, as a user makes it: a container, three pages
# named in the page-name dialog, a page-bound panel dragged onto page 2, a jump radio button
# made live with the container's verb, and a button order changed in the layout dialog.
save empty.txt text
expect ZelvarDesigner.Caption 'Zelvar designer - empty.txt'
palette TZelvar
click Form1
expect ZelvarDesigner.Caption 'Zelvar designer - empty.txt *'
inspect-dialog Zelvar1.PageNames
cell PageList 1 2 'Welcome'
cell PageList 1 3 'Details'
click Button5
cell PageList 1 4 'Finish'
click Button7
expect Zelvar1.PageNames ('Dialog' 'Welcome' 'Details' 'Finish')
expect Zelvar1.NumPages 3
# The container at design time: Wizard shows page 1, Next steps to page 2.
click ChangeButton
click NextButton
expect Zelvar1.Page 2
palette TAPanel
drag Zelvar1 16 16 200 120
expect APanel1.Parent Zelvar1
expect APanel1.Left 16
expect APanel1.Width 184
inspect APanel1.Caption 'Your details'
palette TAJumpRadioBtn
drag Zelvar1 16 136 160 152
expect AJumpRadioBtn1.Caption 'AJumpRadioBtn1'
inspect AJumpRadioBtn1.JumpPage '3'
popup Zelvar1 'Aktivate Jump controls'
inspect-dialog Zelvar1.BLWizard
cell LayoutGrid 0 6
click Button5
click Button1
expect Zelvar1.BLWizard.Data {0100000002000000080000000300000004000000050000000700000006000000}
save wizard.txt text
expect ZelvarDesigner.Caption 'Zelvar designer - wizard.txt'
# Back to the empty form, and forward again.
undo
undo
undo
undo
undo
undo
undo
undo
undo
undo
undo
undo
save undone.txt text
redo
redo
redo
redo
redo
redo
redo
redo
redo
redo
redo
redo
save redone.txt text
