# The handler InstallTick of setup.txt, for its install timer: one step of the bar; when the
# bar is full the timer stops and Next is enabled.
call Progress.StepBy 4
when Progress.Position 100 set Installer.Enabled False
when Progress.Position 100 set Zelvar1.BtnNext.Enabled True
