# OnCanPageChange of busy.zs runs: the lookup answers later, when its timer fires.
call Zelvar1.BeginBusy
set Lookup.Enabled True
