# The demo without a display: a tour of both examples, one picture per step in out/demo/.
#   zelvar run --script examples/tour.zs
# The setup wizard's page-change handler is PageShown.zs beside it; declared here as well, so
# each page change is logged as it runs.
method PageShown run PageShown.zs
load setup.txt
execute Zelvar1 1
shot ../out/demo/01-welcome.png
click NextButton
# The licence scrolls: three notches of the wheel are nine lines.
wheel LicenceMemo -3
expect LicenceMemo.TopIndex 9
shot ../out/demo/02-licence.png
# Declining leads to the page that explains; Back returns to the licence.
click NextButton
expect Zelvar1.Page 7
shot ../out/demo/03-declined.png
click BackButton
click Accept
click NextButton
expect Zelvar1.Page 3
# Alt+F: the "&Folder:" label focuses its edit, which selects its text; typing replaces it.
key f alt
expect FolderEdit.Focused True
type FolderEdit '/usr/local/zelvar'
click DocsPart
# Typing a letter in the list picks the next language that starts with it.
type LanguageList 'g'
expect LanguageList.ItemIndex 1
shot ../out/demo/04-options.png
key n alt
expect DetailsHost.HostedForm DetailsForm
shot ../out/demo/05-details.png
# Installing: the timer fills the bar, and Next waits until it is full.
click NextButton
expect Zelvar1.Page 5
expect NextButton.Enabled False
wait 1200
shot ../out/demo/06-installing.png
wait 1400
expect Progress.Position 100
expect NextButton.Enabled True
click NextButton
expect SummaryFolder.Caption '/usr/local/zelvar'
expect SummaryLanguage.Caption 'German'
expect SummaryDocs.Checked True
expect NextButton.Caption '&Finish'
shot ../out/demo/07-summary.png
# The dialog page, reached with Change, has a size of its own; Change again comes back.
click ChangeButton
expect SetupForm.Caption 'Setup - Settings'
shot ../out/demo/08-dialog.png
click ChangeButton
expect Zelvar1.Page 1
click NextButton
click NextButton
click NextButton
click NextButton
click NextButton
click NextButton
expect-result mrOk

load options.txt
handle Tabs.OnPageChange log
show
shot ../out/demo/09-tabs-general.png
mouse down left 80 10 Tabs
mouse up left 80 10 Tabs
shot ../out/demo/10-tabs-view.png
set Tabs.Page 4
shot ../out/demo/11-tabs-about.png
set OptionsForm.ModalResult 1
expect-result mrOk
