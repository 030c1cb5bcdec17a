new Outer
show
new Inner
create TButton Go
set Go.ModalResult 6
show
click Go
set Outer.ModalResult 2
expect-result mrCancel
