# A memo's popup menu: a right click opens it, an item is chosen by its caption with or
# without its accelerator mark; a control without a menu opens none.
load menus.txt
handle CutItem.OnClick log
handle CopyItem.OnClick log
show
popup Text 'Cu&t'
popup Text 'Copy'
expect EditMenu.IsOpen False
fails popup Text 'Paste'
fails popup Text 'Undo'
fails popup Plain 'Copy'
set CopyItem.Visible False
fails popup Text 'Copy'
click Plain
expect EditMenu.IsOpen False
set Notes.ModalResult 1
