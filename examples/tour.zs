# The demo without a display: a tour of both examples, one picture per step in out/demo/.
#   zelvar run --script examples/tour.zs
load setup.txt
handle Zelvar1.OnPageChange log
execute Zelvar1 1
shot ../out/demo/01-welcome.png
click NextButton
shot ../out/demo/02-licence.png
# Declining leads to the page that explains; Back returns to the licence.
click NextButton
expect Zelvar1.Page 6
shot ../out/demo/03-declined.png
click BackButton
click Accept
click NextButton
expect Zelvar1.Page 3
shot ../out/demo/04-options.png
click Custom
key N alt
expect DetailsHost.HostedForm DetailsForm
shot ../out/demo/05-details.png
click NextButton
shot ../out/demo/06-summary.png
expect NextButton.Caption '&Finish'
# The dialog page, reached with Change, has a size of its own; Change again comes back.
click ChangeButton
expect SetupForm.Caption 'Setup - Settings'
shot ../out/demo/07-dialog.png
click ChangeButton
expect Zelvar1.Page 1
click NextButton
click NextButton
click NextButton
click NextButton
click NextButton
expect-result mrOk

load options.txt
handle Tabs.OnPageChange log
show
shot ../out/demo/08-tabs-general.png
mouse down left 80 10 Tabs
mouse up left 80 10 Tabs
shot ../out/demo/09-tabs-view.png
set Tabs.Page 4
shot ../out/demo/10-tabs-about.png
set OptionsForm.ModalResult 1
expect-result mrOk
