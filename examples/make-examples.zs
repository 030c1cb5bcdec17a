# Builds the example forms as a developer would in the designer, and saves them:
#   zelvar run --script examples/make-examples.zs
# setup.txt (and its binary twin setup.dfm) is a setup wizard; options.txt a tabbed dialog;
# Details.txt is the form the setup wizard embeds on its fourth page.

# --- The setup wizard -------------------------------------------------------------------
new SetupForm design
set SetupForm.ClientWidth 680
set SetupForm.ClientHeight 380
create TZelvar Zelvar1
set Zelvar1.NumPages 8
set Zelvar1.CaptionWizard 'Setup - Page %d of %d'
set Zelvar1.CaptionDialog 'Setup - Settings'
set Zelvar1.PageNames ('Settings' 'Welcome' 'Licence' 'Options' 'Checking' 'Details' 'Installing' 'Summary' 'Declined')
set Zelvar1.BtnHelp.Show True
# A banner over every page: the page's name, its line below, the turtle at the right; the
# welcome page shows a picture down its left side.
set Zelvar1.HeaderStyle hsBanner
set Zelvar1.PageSubtitles ('Every setting on one page.' 'Setup guides you through the installation.' 'Please read the licence; accept it to go on.' 'Where Zelvar goes, with which parts, in which language.' 'Setup checks the free space in the folder.' 'The details of your installation.' 'Please wait while Zelvar is installed.' 'Zelvar is ready to use.' 'Zelvar was not installed.')
set Zelvar1.HeaderImage 'setup-header.png'
set Zelvar1.WatermarkImage 'setup-watermark.png'
set Zelvar1.BtnNext.Text '&Next'
# Help first, then Change; Cancel, a gap, Back and Next on the right.
edit Zelvar1.BLWizard
cell LayoutGrid 0 1
click Button3
cell LayoutGrid 0 4
click Button5
click Button1

# Page 1: welcome.
set Zelvar1.Page 1
create TAPanel Welcome in Zelvar1
set Welcome.Left 180
set Welcome.Top 78
set Welcome.Width 484
set Welcome.Height 250
set Welcome.Caption ''
create TLabel WelcomeTitle in Welcome
set WelcomeTitle.Left 16
set WelcomeTitle.Top 16
set WelcomeTitle.Font.Style [fsBold]
set WelcomeTitle.Caption 'Welcome to the Zelvar Setup'
create TLabel WelcomeText in Welcome
set WelcomeText.Left 16
set WelcomeText.Top 48
set WelcomeText.AutoSize False
set WelcomeText.WordWrap True
set WelcomeText.Width 440
set WelcomeText.Height 80
set WelcomeText.Caption 'This wizard installs Zelvar on your computer. Click Next to go on, Back to return to a page, or Dialog to see every setting at once.'

# Page 2: the licence in a read-only memo that scrolls, and two jump radio buttons: accept
# leads on, decline to page 8.
set Zelvar1.Page 2
create TABox Licence in Zelvar1
set Licence.Left 166
set Licence.Top 78
set Licence.Width 498
set Licence.Height 250
create TMemo LicenceMemo in Licence
set LicenceMemo.Left 8
set LicenceMemo.Top 8
set LicenceMemo.Width 480
set LicenceMemo.Height 168
set LicenceMemo.ReadOnly True
set LicenceMemo.ScrollBars ssVertical
set LicenceMemo.Lines ('ZELVAR LICENCE' '' 'Copyright (c) the Zelvar authors.' '' 'Permission is granted to anyone to use this software for any' 'purpose, including commercial applications, and to change it' 'and give it away freely, subject to these conditions:' '' '1. The origin of this software must not be misrepresented;' '   you must not claim that you wrote the original software.' '   If you use it in a product, an acknowledgement in the' '   product documentation would be appreciated but is not' '   required.' '' '2. Altered versions must be plainly marked as such, and must' '   not be misrepresented as being the original software.' '' '3. This notice may not be removed or altered from any' '   distribution of the source.' '' 'THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY' 'KIND, EXPRESS OR IMPLIED. IN NO EVENT SHALL THE AUTHORS BE' 'LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY ARISING' 'FROM THE USE OF THE SOFTWARE.')
create TAJumpRadioBtn Accept in Licence
set Accept.Left 8
set Accept.Top 190
set Accept.Width 300
set Accept.Caption 'I &accept the licence'
set Accept.JumpPage 3
create TAJumpRadioBtn Decline in Licence
set Decline.Left 8
set Decline.Top 216
set Decline.Width 300
set Decline.Caption 'I &do not accept it'
set Decline.JumpPage 8
set Decline.Checked True

# Page 3: options: the folder in an edit its label names, the parts as check boxes, the
# language from a list.
set Zelvar1.Page 3
create TAPanel Target in Zelvar1
set Target.Left 166
set Target.Top 78
set Target.Width 498
set Target.Height 48
set Target.Caption ''
create TLabel FolderLabel in Target
set FolderLabel.Left 12
set FolderLabel.Top 16
set FolderLabel.Caption '&Folder:'
create TEdit FolderEdit in Target
set FolderEdit.Left 72
set FolderEdit.Top 12
set FolderEdit.Width 410
set FolderEdit.Text '/opt/zelvar'
# Next waits while the folder is empty.
set FolderEdit.Required True
set FolderLabel.FocusControl FolderEdit
create TAGroupBox Parts in Zelvar1
set Parts.Left 166
set Parts.Top 138
set Parts.Width 236
set Parts.Height 124
set Parts.Caption 'Components'
create TCheckBox ProgramPart in Parts
set ProgramPart.Left 16
set ProgramPart.Top 28
set ProgramPart.Width 200
set ProgramPart.Caption '&Program files'
set ProgramPart.Checked True
create TCheckBox ExamplesPart in Parts
set ExamplesPart.Left 16
set ExamplesPart.Top 56
set ExamplesPart.Width 200
set ExamplesPart.Caption '&Examples'
set ExamplesPart.Checked True
create TCheckBox DocsPart in Parts
set DocsPart.Left 16
set DocsPart.Top 84
set DocsPart.Width 200
set DocsPart.Caption 'D&ocumentation'
create TAGroupBox Language in Zelvar1
set Language.Left 418
set Language.Top 138
set Language.Width 246
set Language.Height 124
set Language.Caption 'Language'
create TListBox LanguageList in Language
set LanguageList.Left 12
set LanguageList.Top 22
set LanguageList.Width 222
set LanguageList.Height 90
set LanguageList.Items ('English' 'German' 'French' 'Spanish' 'Italian' 'Dutch' 'Polish' 'Portuguese' 'Swedish' 'Czech')

# Page 4: a moment's check of the free space, a page that goes on by itself (CheckTick.zs,
# its timer's handler, moves to the next page); Back passes over it.
set Zelvar1.Page 4
create TABox Checking in Zelvar1
set Checking.Left 166
set Checking.Top 78
set Checking.Width 498
set Checking.Height 250
create TLabel CheckingText in Checking
set CheckingText.Left 8
set CheckingText.Top 8
set CheckingText.Caption 'Please wait while Setup checks the free space in the folder.'
create TProgressBar CheckingBar in Checking
set CheckingBar.Left 8
set CheckingBar.Top 40
set CheckingBar.Width 480
set CheckingBar.Height 18
set CheckingBar.Style pbstMarquee
create TTimer Checker
set Checker.Interval 800
set Checker.Enabled False
method CheckTick none
set Checker.OnTimer CheckTick
value Zelvar1.SkipOnBack '4'

# Page 5: a whole form embedded, handed over by the handler named Details (Details.txt).
set Zelvar1.Page 5
method Details log
create TAForm DetailsHost in Zelvar1
set DetailsHost.Left 166
set DetailsHost.Top 78
set DetailsHost.Width 498
set DetailsHost.Height 250
set DetailsHost.FormCreate fcOnDemand
set DetailsHost.OnGetForm Details

# Page 6: installing: a timer (its handler is InstallTick.zs beside the form) advances the
# bar; Next waits until it is full (PageShown.zs, the wizard's page-change handler). Once
# installed, there is no way back: it is a commit page.
set Zelvar1.Page 6
create TABox Install in Zelvar1
set Install.Left 166
set Install.Top 78
set Install.Width 498
set Install.Height 250
create TLabel InstallText in Install
set InstallText.Left 8
set InstallText.Top 8
set InstallText.Caption 'Installing Zelvar. This takes a few seconds.'
create TProgressBar Progress in Install
set Progress.Left 8
set Progress.Top 40
set Progress.Width 480
set Progress.Height 18
set Progress.Step 4
create TTimer Installer
set Installer.Interval 100
set Installer.Enabled False
method InstallTick none
set Installer.OnTimer InstallTick
method PageShown none
set Zelvar1.OnPageChange PageShown
value Zelvar1.CommitPages '6'

# Page 7: the summary of what was chosen, filled in as the page is shown (PageShown.zs).
set Zelvar1.Page 7
create TABox Summary in Zelvar1
set Summary.Left 166
set Summary.Top 78
set Summary.Width 498
set Summary.Height 250
create TLabel SummaryText in Summary
set SummaryText.Left 8
set SummaryText.Top 8
set SummaryText.Caption 'Zelvar is installed. Click Finish to leave Setup.'
create TLabel FolderTitle in Summary
set FolderTitle.Left 8
set FolderTitle.Top 40
set FolderTitle.Caption 'Folder:'
create TLabel SummaryFolder in Summary
set SummaryFolder.Left 96
set SummaryFolder.Top 40
set SummaryFolder.Font.Style [fsBold]
set SummaryFolder.Caption ''
create TLabel LanguageTitle in Summary
set LanguageTitle.Left 8
set LanguageTitle.Top 64
set LanguageTitle.Caption 'Language:'
create TLabel SummaryLanguage in Summary
set SummaryLanguage.Left 96
set SummaryLanguage.Top 64
set SummaryLanguage.Font.Style [fsBold]
set SummaryLanguage.Caption ''
create TCheckBox SummaryProgram in Summary
set SummaryProgram.Left 8
set SummaryProgram.Top 96
set SummaryProgram.Width 200
set SummaryProgram.Caption 'Program files'
set SummaryProgram.Enabled False
create TCheckBox SummaryExamples in Summary
set SummaryExamples.Left 8
set SummaryExamples.Top 120
set SummaryExamples.Width 200
set SummaryExamples.Caption 'Examples'
set SummaryExamples.Enabled False
create TCheckBox SummaryDocs in Summary
set SummaryDocs.Left 8
set SummaryDocs.Top 144
set SummaryDocs.Width 200
set SummaryDocs.Caption 'Documentation'
set SummaryDocs.Enabled False


# Page 8: declined; the wizard can only finish from here.
set Zelvar1.Page 8
create TABox Declined in Zelvar1
set Declined.Left 166
set Declined.Top 78
set Declined.Width 498
set Declined.Height 250
create TLabel DeclinedText in Declined
set DeclinedText.Left 8
set DeclinedText.Top 8
set DeclinedText.AutoSize False
set DeclinedText.WordWrap True
set DeclinedText.Width 460
set DeclinedText.Height 90
set DeclinedText.Caption 'Zelvar cannot be installed without accepting its licence. Click Finish to leave Setup, or Back to read the licence again.'

# Page 0, the dialog: all settings on one page, a size of its own.
set Zelvar1.Page 0
set SetupForm.ClientWidth 440
set SetupForm.ClientHeight 370
create TAGroupBox Settings in Zelvar1
set Settings.Left 16
set Settings.Top 78
set Settings.Width 408
set Settings.Height 200
set Settings.Caption 'Settings'
create TLabel SettingsText in Settings
set SettingsText.Left 16
set SettingsText.Top 28
set SettingsText.AutoSize False
set SettingsText.WordWrap True
set SettingsText.Width 370
set SettingsText.Height 60
set SettingsText.Caption 'Zelvar goes into /opt/zelvar with its program files and examples. The licence must be accepted in the wizard.'

# The way list: Next follows the pages, the licence's radio buttons choose on page 2, and the
# summary and the declined page finish.
edit Zelvar1.WayList
click Button8
cell WayListGrid 0 7
pick GotoBox 1
click Button2
set Zelvar1.WayListEnabled True
set Zelvar1.StartPage 1
value Zelvar1.WatermarkPages '1'

# The steps down the left of every page but the welcome page, which has its picture there. A
# click on a step already seen goes back to it.
set Zelvar1.Page 2
create TAStepList Steps in Zelvar1
set Steps.AAlign alLeft
set Steps.Width 150
edit Steps.ShowContainer
cell ShowGrid 0 1
click Button2
# Cancel asks only when a choice was changed; closing the window keeps the wizard where it
# was for the next run (in the user's state folder).
set Zelvar1.ConfirmCancel ccIfModified
set Zelvar1.ResumeState 'zelvar-setup.ini'
set Zelvar1.Page 1
save setup.txt text
save setup.dfm

# --- A tabbed dialog ----------------------------------------------------------------------
new OptionsForm design
set OptionsForm.ClientWidth 420
set OptionsForm.ClientHeight 280
create TZelvar Tabs
set Tabs.NumPages 4
set Tabs.PageNames ('Options' 'General' 'View' 'Advanced' 'About')
set Tabs.Style asTabbed
set Tabs.SetFormCaption False
set OptionsForm.Caption 'Options'
set Tabs.Page 1
create TAGroupBox General in Tabs
set General.Left 12
set General.Top 36
set General.Width 390
set General.Height 140
set General.Caption 'Start'
create TRadioButton OpenLast in General
set OpenLast.Left 16
set OpenLast.Top 28
set OpenLast.Width 300
set OpenLast.Caption 'Open the last &project'
set OpenLast.Checked True
create TRadioButton OpenNone in General
set OpenNone.Left 16
set OpenNone.Top 56
set OpenNone.Width 300
set OpenNone.Caption 'Start &empty'
set Tabs.Page 2
create TAPanel View in Tabs
set View.Left 12
set View.Top 36
set View.Width 390
set View.Height 140
set View.Caption ''
create TCheckBox ShowToolbar in View
set ShowToolbar.Left 16
set ShowToolbar.Top 16
set ShowToolbar.Width 200
set ShowToolbar.Caption 'Show the &toolbar'
set ShowToolbar.Checked True
create TCheckBox ShowStatus in View
set ShowStatus.Left 16
set ShowStatus.Top 44
set ShowStatus.Width 200
set ShowStatus.Caption 'Show the &status bar'
create TLabel ZoomLabel in View
set ZoomLabel.Left 16
set ZoomLabel.Top 84
set ZoomLabel.Caption '&Zoom:'
create TScrollBar Zoom in View
set Zoom.Left 72
set Zoom.Top 82
set Zoom.Width 290
set Zoom.Min 50
set Zoom.Max 200
set Zoom.Position 100
set Zoom.LargeChange 25
set Zoom.SmallChange 5
set ZoomLabel.FocusControl Zoom
set Tabs.Page 3
create TAGroupBox Advanced in Tabs
set Advanced.Left 12
set Advanced.Top 36
set Advanced.Width 390
set Advanced.Height 140
set Advanced.Caption 'Advanced'
create TLabel LogLabel in Advanced
set LogLabel.Left 16
set LogLabel.Top 32
set LogLabel.Caption '&Log file:'
create TEdit LogFile in Advanced
set LogFile.Left 88
set LogFile.Top 28
set LogFile.Width 280
set LogFile.Text '~/.zelvar/log.txt'
set LogLabel.FocusControl LogFile
create TCheckBox Verbose in Advanced
set Verbose.Left 16
set Verbose.Top 64
set Verbose.Width 280
set Verbose.Caption '&Verbose log'
set Verbose.AllowGrayed True
set Verbose.State cbGrayed
set Tabs.Page 4
create TABox About in Tabs
set About.Left 12
set About.Top 36
set About.Width 390
set About.Height 140
create TLabel AboutText in About
set AboutText.Left 8
set AboutText.Top 8
set AboutText.Caption 'Zelvar: wizards and tabbed dialogs on an ordinary form.'
set Tabs.Page 1
save options.txt text
