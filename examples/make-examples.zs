# Builds the example forms as a developer would in the designer, and saves them:
#   zelvar run --script examples/make-examples.zs
# setup.txt (and its binary twin setup.dfm) is a setup wizard; options.txt a tabbed dialog;
# Details.txt is the form the setup wizard embeds on its fourth page.

# --- The setup wizard -------------------------------------------------------------------
new SetupForm design
set SetupForm.ClientWidth 520
set SetupForm.ClientHeight 340
create TZelvar Zelvar1
set Zelvar1.NumPages 6
set Zelvar1.CaptionWizard 'Setup - Page %d of %d'
set Zelvar1.CaptionDialog 'Setup - Settings'
set Zelvar1.PageNames ('Settings' 'Welcome' 'Licence' 'Options' 'Details' 'Summary' 'Declined')
set Zelvar1.BtnHelp.Show True
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
set Welcome.Left 16
set Welcome.Top 16
set Welcome.Width 488
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
set WelcomeText.Width 450
set WelcomeText.Height 80
set WelcomeText.Caption 'This wizard installs Zelvar on your computer. Click Next to go on, Back to return to a page, or Dialog to see every setting at once.'

# Page 2: the licence, with two jump radio buttons: accept leads on, decline to page 6.
set Zelvar1.Page 2
create TABox Licence in Zelvar1
set Licence.Left 16
set Licence.Top 16
set Licence.Width 488
set Licence.Height 250
create TLabel LicenceText in Licence
set LicenceText.Left 8
set LicenceText.Top 8
set LicenceText.AutoSize False
set LicenceText.WordWrap True
set LicenceText.Width 460
set LicenceText.Height 90
set LicenceText.Caption 'Zelvar is free software. You may use, copy and change it, provided that this notice stays with every copy. It comes without any warranty.'
create TAJumpRadioBtn Accept in Licence
set Accept.Left 8
set Accept.Top 120
set Accept.Width 300
set Accept.Caption 'I &accept the licence'
set Accept.JumpPage 3
create TAJumpRadioBtn Decline in Licence
set Decline.Left 8
set Decline.Top 150
set Decline.Width 300
set Decline.Caption 'I &do not accept it'
set Decline.JumpPage 6
set Decline.Checked True

# Page 3: options, on a page-bound group box and panel.
set Zelvar1.Page 3
create TAGroupBox Kind in Zelvar1
set Kind.Left 16
set Kind.Top 16
set Kind.Width 230
set Kind.Height 120
set Kind.Caption 'Installation'
create TRadioButton Typical in Kind
set Typical.Left 16
set Typical.Top 28
set Typical.Width 180
set Typical.Caption '&Typical'
set Typical.Checked True
create TRadioButton Minimal in Kind
set Minimal.Left 16
set Minimal.Top 56
set Minimal.Width 180
set Minimal.Caption '&Minimal'
create TRadioButton Custom in Kind
set Custom.Left 16
set Custom.Top 84
set Custom.Width 180
set Custom.Caption '&Custom'
create TAPanel Target in Zelvar1
set Target.Left 264
set Target.Top 16
set Target.Width 240
set Target.Height 120
set Target.Caption ''
create TLabel TargetLabel in Target
set TargetLabel.Left 12
set TargetLabel.Top 12
set TargetLabel.Caption 'Install into:'
create TLabel TargetPath in Target
set TargetPath.Left 12
set TargetPath.Top 36
set TargetPath.Font.Style [fsBold]
set TargetPath.Caption '/opt/zelvar'

# Page 4: a whole form embedded, handed over by the handler named Details (Details.txt).
set Zelvar1.Page 4
method Details log
create TAForm DetailsHost in Zelvar1
set DetailsHost.Left 16
set DetailsHost.Top 16
set DetailsHost.Width 488
set DetailsHost.Height 250
set DetailsHost.FormCreate fcOnDemand
set DetailsHost.OnGetForm Details

# Page 5: the summary.
set Zelvar1.Page 5
create TABox Summary in Zelvar1
set Summary.Left 16
set Summary.Top 16
set Summary.Width 488
set Summary.Height 250
create TLabel SummaryText in Summary
set SummaryText.Left 8
set SummaryText.Top 8
set SummaryText.AutoSize False
set SummaryText.WordWrap True
set SummaryText.Width 460
set SummaryText.Height 90
set SummaryText.Caption 'Setup is ready to install Zelvar. Click Finish to install it, or Back to change a setting.'

# Page 6: declined; the wizard can only finish from here.
set Zelvar1.Page 6
create TABox Declined in Zelvar1
set Declined.Left 16
set Declined.Top 16
set Declined.Width 488
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
set SetupForm.ClientHeight 300
create TAGroupBox Settings in Zelvar1
set Settings.Left 16
set Settings.Top 16
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
set SettingsText.Caption 'Installation: typical, into /opt/zelvar. The licence must be accepted in the wizard.'

# The way list: Next follows the pages, the licence's radio buttons choose on page 2, and the
# summary and the declined page finish.
edit Zelvar1.WayList
click Button8
cell WayListGrid 0 5
pick GotoBox 1
click Button2
set Zelvar1.WayListEnabled True
set Zelvar1.StartPage 1
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
set View.Caption 'Colours follow the system'
set Tabs.Page 3
create TAGroupBox Advanced in Tabs
set Advanced.Left 12
set Advanced.Top 36
set Advanced.Width 390
set Advanced.Height 140
set Advanced.Caption 'Advanced'
create TLabel AdvancedText in Advanced
set AdvancedText.Left 16
set AdvancedText.Top 28
set AdvancedText.Caption 'Nothing to see here yet.'
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
