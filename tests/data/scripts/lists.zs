# A list box and a grid driven by the mouse, the keys and the wheel, as a user would.
# The list's items are 16 pixels high inside a 2-pixel border: six of its twenty show.
load lists.txt
handle List.OnClick log
handle List.OnDblClick log
handle Grid.OnClick log
show
mouse down left 20 40 List
mouse up left 20 40 List
expect List.ItemIndex 2
key Down
expect List.ItemIndex 3
key End
expect List.ItemIndex 19
expect List.TopIndex 14
key Home
expect List.TopIndex 0
type List 'b'
expect List.ItemIndex 7
type List 'B'
expect List.ItemIndex 12
# 'Blueberry' scrolled into view at the bottom: the top item now is item 7.
expect List.TopIndex 7
dblclick List 20 8
expect List.ItemIndex 7
# The wheel scrolls the list three lines a notch; the selection stays.
wheel List 2
expect List.TopIndex 1
expect List.ItemIndex 7
wheel List -1
expect List.TopIndex 4
# The list's down arrow, at the bottom right inside the border, held: one step, then more.
mouse down left 140 90 List
expect List.TopIndex 5
wait 199
expect List.TopIndex 5
wait 1
expect List.TopIndex 6
wait 100
expect List.TopIndex 8
mouse up left 140 90 List
wait 500
expect List.TopIndex 8
expect List.ItemIndex 7
# The grid's thirty rows do not fit: its vertical bar's down arrow is at the bottom right.
mouse down left 292 142 Grid
mouse up left 292 142 Grid
expect Grid.TopRow 2
expect Grid.Row 1
focus Grid
key Down
expect Grid.Row 2
key PageDown
expect Grid.TopRow 2
key End ctrl
expect Grid.Row 29
expect Grid.TopRow 25
# A notch moves the current row, and the grid scrolls to keep it in view.
wheel Grid 3
expect Grid.Row 26
expect Grid.TopRow 25
key Home ctrl
expect Grid.TopRow 1
click OkButton
expect-result mrOk
