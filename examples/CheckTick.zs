# The handler CheckTick of setup.txt, for the timer of its checking page: the check is done,
# and the wizard goes on by itself.
set Checker.Enabled False
call Zelvar1.JumpRel 1
