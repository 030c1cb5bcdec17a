# Timers fire in order of their due time as the script moves the clock; typed text (any UTF-8)
# reaches the focused control as key presses.
new Work
create TTimer Fast
create TTimer Slow
handle Fast.OnTimer log
handle Slow.OnTimer log
set Fast.Interval 40
set Slow.Interval 100
wait 120
set Fast.Enabled False
wait 100
create TStringGrid Grid
set Grid.Options [goEditing]
type Grid 'Zü€'
key Enter
expect-cell Grid 1 1 'Zü€'
fails type Work 'x'
