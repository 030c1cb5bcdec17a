load dialog.txt
show
expect Dialog.Caption 'Setup'
