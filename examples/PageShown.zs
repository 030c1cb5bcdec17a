# The handler PageShown of setup.txt, raised after every page change. The checking page and
# the install page run their timers while they show, and Next waits there: the checking page
# goes on by itself, the install page once the bar is full; the summary shows what was chosen.
set Zelvar1.BtnNext.Enabled True
set Installer.Enabled False
set Checker.Enabled False
when Zelvar1.Page 4 set Checker.Enabled True
when Zelvar1.Page 4 set Zelvar1.BtnNext.Enabled False
when Zelvar1.Page 6 unless Progress.Position 100 set Installer.Enabled True
when Zelvar1.Page 6 unless Progress.Position 100 set Zelvar1.BtnNext.Enabled False
when LanguageList.ItemIndex -1 set LanguageList.ItemIndex 0
copy SummaryFolder.Caption FolderEdit.Text
copy SummaryProgram.Checked ProgramPart.Checked
copy SummaryExamples.Checked ExamplesPart.Checked
copy SummaryDocs.Checked DocsPart.Checked
when LanguageList.ItemIndex 0 set SummaryLanguage.Caption 'English'
when LanguageList.ItemIndex 1 set SummaryLanguage.Caption 'German'
when LanguageList.ItemIndex 2 set SummaryLanguage.Caption 'French'
when LanguageList.ItemIndex 3 set SummaryLanguage.Caption 'Spanish'
when LanguageList.ItemIndex 4 set SummaryLanguage.Caption 'Italian'
when LanguageList.ItemIndex 5 set SummaryLanguage.Caption 'Dutch'
when LanguageList.ItemIndex 6 set SummaryLanguage.Caption 'Polish'
when LanguageList.ItemIndex 7 set SummaryLanguage.Caption 'Portuguese'
when LanguageList.ItemIndex 8 set SummaryLanguage.Caption 'Swedish'
when LanguageList.ItemIndex 9 set SummaryLanguage.Caption 'Czech'
