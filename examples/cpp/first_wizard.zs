# The first wizard as a user goes through it, for `ZELVAR_SCRIPT=first_wizard.zs ./first_wizard`.
# A page of text leaves the focus on Next, so Enter goes on.
expect Wizard.Page 1
expect NextButton.Focused True
key Enter
# The name page: its edit has the focus; without a name the wizard stays, and says why.
expect Wizard.Page 2
expect NameEdit.Focused True
click NextButton
expect Message.Caption 'Please enter your name.'
click OK
expect Wizard.Page 2
type NameEdit 'Ada'
key Enter
expect Wizard.Page 3
expect NextButton.Caption '&Finish'
click NextButton
