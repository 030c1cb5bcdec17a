# Typing into an edit and a memo as a user does: text, editing keys, the clipboard, the wheel.
load edits.txt
method Changed log
set NameEdit.OnChange Changed
show                 # the following lines run inside the form's modal loop
type NameEdit 'Jösé'
expect NameEdit.Text 'Jösé'
expect NameEdit.SelStart 4
key Backspace
key Home
key Right shift
key Right shift
expect NameEdit.SelText 'Jö'
key c ctrl
key End
key v ctrl
expect NameEdit.Text 'JösJö'
expect NameEdit.SelStart 5
# Tab into the memo; its text ends with a line break, so Ctrl+End is on an empty last line.
key Tab
key End ctrl
type Notes 'Second line'
key Enter
type Notes 'Third'
key Backspace
key Backspace
expect Notes.Lines ('First line' 'Second line' 'Thi')
expect Notes.SelStart 26
key Home
key Up shift
key x ctrl
expect Notes.Lines ('First line' 'Thi')
key Home ctrl
key v ctrl
expect Notes.Lines ('Second line' 'First line' 'Thi')
# Thirty lines: the wheel scrolls three rows a notch, and stops at the top.
set Notes.Lines ('1' '2' '3' '4' '5' '6' '7' '8' '9' '10' '11' '12' '13' '14' '15' '16' '17' '18' '19' '20' '21' '22' '23' '24' '25' '26' '27' '28' '29' '30')
expect Notes.TopIndex 0
wheel Notes -2
expect Notes.TopIndex 6
wheel Notes 1
expect Notes.TopIndex 3
wheel Notes 5
expect Notes.TopIndex 0
# Enter in the memo breaks the line; the default button does not see it.
key Enter
expect Notes.Lines ('' '1' '2' '3' '4' '5' '6' '7' '8' '9' '10' '11' '12' '13' '14' '15' '16' '17' '18' '19' '20' '21' '22' '23' '24' '25' '26' '27' '28' '29' '30')
focus NameEdit
key Enter
expect-result mrOk
