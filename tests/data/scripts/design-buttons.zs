# A wizard read from a file into the designer: its Next, Back, Change and Help buttons answer
# the mouse as at run time, and right clicks on Next and Back step through the pages, just as
# on a container made in the designer.
load wizard.txt design
set Zelvar1.BtnHelp.Show True
handle Zelvar1.OnHelpClick log
click ChangeButton
expect Zelvar1.Page 1
click NextButton
click NextButton
expect Zelvar1.Page 3
click BackButton
expect Zelvar1.Page 2
click HelpButton
rclick BackButton
expect Zelvar1.Page 1
rclick NextButton
expect Zelvar1.Page 2
rclick NextButton
expect Zelvar1.Page 3
click ChangeButton
expect Zelvar1.Page 0
