# The wizard the designer made, run as a user runs it.
execute Zelvar1 1
expect Zelvar1.Page 1
expect APanel1.Visible False
click NextButton
expect Zelvar1.Page 2
expect APanel1.Visible True
expect APanel1.Caption 'Your details'
click AJumpRadioBtn1
click NextButton
expect Zelvar1.Page 3
click NextButton
expect-result mrOk
