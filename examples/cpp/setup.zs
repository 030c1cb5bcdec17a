# The setup wizard of setup.cpp as a user goes through it, for
# `ZELVAR_SCRIPT=cpp/setup.zs cpp/setup` run from examples/.
click NextButton
click Accept
click NextButton
# The options page waits for a folder, and refuses one that is no full path.
expect Zelvar1.Page 3
set FolderEdit.Text ''
expect NextButton.Enabled False
type FolderEdit 'zelvar'
click NextButton
expect Message.Caption 'The folder must be a full path, starting with /.'
click OK
expect Zelvar1.Page 3
set FolderEdit.Text ''
type FolderEdit '/usr/local/zelvar'
type LanguageList 'g'
click NextButton
# The checking page goes on by itself.
expect Zelvar1.Page 4
wait 900
expect DetailsHost.HostedForm DetailsForm
# Installing: the C++ timer handler fills the bar; Next waits until it is full.
click NextButton
expect Zelvar1.Page 6
expect NextButton.Enabled False
wait 2600
expect Progress.Position 100
expect NextButton.Enabled True
click NextButton
expect SummaryFolder.Caption '/usr/local/zelvar'
expect SummaryLanguage.Caption 'German'
click NextButton
