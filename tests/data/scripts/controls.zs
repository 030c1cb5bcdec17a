# Handlers made by the script log their calls; a veto keeps the grid where it was.
method Changed log
new Work
set Work.ClientWidth 300
set Work.ClientHeight 200
create TComboBox Choice
set Choice.Items ('Red' 'Green' 'Blue')
set Choice.OnChange Changed
pick Choice 2
expect Choice.Text 'Blue'
create TStringGrid Grid
set Grid.Top 40
set Grid.Options [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing]
handle Grid.OnSelectCell log
cell Grid 2 2
print Grid.Col
cell Grid 1 1 'hello'
expect-cell Grid 1 1 'hello'
handle Grid.OnSelectCell veto
cell Grid 3 3
print Grid.Row
handle Grid.OnSelectCell none
cell Grid 2 3
print Grid.Row
expect-pixel 10 190 #C0C0C0
expect-pixel 160 85 #000080 Grid
fails expect-pixel 100 35 #000080 Grid
