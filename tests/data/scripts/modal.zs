# The dialog closes with the button that was clicked.
method OkClicked log
load dialog.txt
expect Dialog.Caption 'Setup'
set Dialog.Caption 'It''s set'
print Dialog.Caption
print OkButton.ModalResult
show
expect Dialog.Caption 'It''s set'
click OkButton
expect-result mrOk
fails handle CancelButton.Caption log
show
key Escape
expect-result 2
