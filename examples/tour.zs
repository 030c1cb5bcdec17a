# The demo without a display: a tour of both examples, one picture per step in out/demo/.
#   zelvar run --script examples/tour.zs
# The setup wizard's page-change handler is PageShown.zs beside it; declared here as well, so
# each page change is logged as it runs.
method PageShown run PageShown.zs
load setup.txt
# The wizard keeps its state in a file of the tour's own while the window is closed half-way.
execute Zelvar1 1 ../out/demo/setup-state.ini
shot ../out/demo/01-welcome.png
click NextButton
# The licence scrolls: three notches of the wheel are nine lines.
wheel LicenceMemo -3
expect LicenceMemo.TopIndex 9
shot ../out/demo/02-licence.png
# Declining leads to the page that explains; Back returns to the licence.
click NextButton
expect Zelvar1.Page 8
shot ../out/demo/03-declined.png
click BackButton
click Accept
click NextButton
expect Zelvar1.Page 3
# Alt+F: the "&Folder:" label focuses its edit, which selects its text; typing replaces it.
key f alt
expect FolderEdit.Focused True
# The folder is required: without one, Next waits.
key Delete
expect NextButton.Enabled False
type FolderEdit '/usr/local/zelvar'
expect NextButton.Enabled True
click DocsPart
# Typing a letter in the list picks the next language that starts with it.
type LanguageList 'g'
expect LanguageList.ItemIndex 1
shot ../out/demo/04-options.png
# A page that checks for a moment and goes on by itself.
key n alt
expect Zelvar1.Page 4
expect NextButton.Enabled False
wait 300
shot ../out/demo/05-checking.png
wait 600
expect DetailsHost.HostedForm DetailsForm
shot ../out/demo/06-details.png
# Back passes over the checking page.
click BackButton
expect Zelvar1.Page 3
# Closed half-way with the close box: nothing is asked, and nothing is lost. Run again, the
# wizard opens where it was, with what was typed and chosen, and Back still knows the way.
call SetupForm.Close
expect-result mrCancel
load setup.txt
execute Zelvar1 1 ../out/demo/setup-state.ini
expect Zelvar1.Page 3
expect FolderEdit.Text '/usr/local/zelvar'
expect LanguageList.ItemIndex 1
expect DocsPart.Checked True
expect BackButton.Enabled True
click NextButton
wait 900
expect Zelvar1.Page 5
# The step list on the left: a click on a step already seen goes back to it as Back would, one
# not yet seen does nothing. With the focus on the list, Down moves its mark and Enter goes on.
mouse down left 60 130 Steps
mouse up left 60 130 Steps
expect Zelvar1.Page 5
mouse down left 60 30 Steps
mouse up left 60 30 Steps
expect Zelvar1.Page 2
shot ../out/demo/07-steps.png
focus Steps
key Down
key Enter
expect Zelvar1.Page 3
click NextButton
wait 900
expect Zelvar1.Page 5
# Installing: the timer fills the bar, and Next waits until it is full.
click NextButton
expect Zelvar1.Page 6
expect NextButton.Enabled False
wait 1200
shot ../out/demo/08-installing.png
wait 1400
expect Progress.Position 100
expect NextButton.Enabled True
click NextButton
expect SummaryFolder.Caption '/usr/local/zelvar'
expect SummaryLanguage.Caption 'German'
expect SummaryDocs.Checked True
expect NextButton.Caption '&Finish'
# Installed: once left, the install page cannot be gone back to.
expect BackButton.Enabled False
shot ../out/demo/09-summary.png
# The dialog page, reached with Change, has a size of its own; Change again comes back.
click ChangeButton
expect SetupForm.Caption 'Setup - Settings'
shot ../out/demo/10-dialog.png
click ChangeButton
expect Zelvar1.Page 1
# Cancel asks, as something was changed; No stays.
click CancelButton
expect-message 'Discard the changes you made?'
click No
click NextButton
click NextButton
click NextButton
wait 900
click NextButton
click NextButton
click NextButton
expect-result mrOk

load options.txt
handle Tabs.OnPageChange log
show
shot ../out/demo/11-tabs-general.png
mouse down left 80 10 Tabs
mouse up left 80 10 Tabs
shot ../out/demo/12-tabs-view.png
set Tabs.Page 4
shot ../out/demo/13-tabs-about.png
set OptionsForm.ModalResult 1
expect-result mrOk
