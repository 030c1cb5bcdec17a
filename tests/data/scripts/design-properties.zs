# The designer's property grid typed into as a user types: enumerations, set flags, colours, numbers,
# text and component references, each one change that undo takes back.
palette TPanel
click Form1
inspect Panel1.Align 'alClient'
expect Panel1.Align alClient
inspect Panel1.Font.Style.fsBold 'True'
expect Panel1.Font.Style [fsBold]
inspect Form1.Color 'clRed'
expect Form1.Color clRed
inspect Panel1.Left '24'
expect Panel1.Left 0
inspect Panel1.Caption 'Hi'
undo
expect Panel1.Caption 'Panel1'
redo
expect Panel1.Caption 'Hi'
inspect Form1.ActiveControl 'Panel1'
expect Form1.ActiveControl Panel1
