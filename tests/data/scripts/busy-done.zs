# The lookup's timer: it is done, and the page may change.
set Lookup.Enabled False
call Zelvar1.EndBusy True
