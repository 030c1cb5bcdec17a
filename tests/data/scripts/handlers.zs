# A handler the script does not declare runs the script of its name beside the form.
load ticker.txt
wait 100
expect Lamp.Caption 'on'
wait 100
expect Lamp.Caption 'off'
# A declared method comes first; `run FILE` runs a script as an action too. (Handler scripts
# act on the active form, so the first form's clock stops first.)
set Clock.Enabled False
method Tick log
load ticker.txt
wait 100
expect Lamp.Caption 'off'
method Twice run Tick.zs
set Clock.OnTimer Twice
wait 100
expect Lamp.Caption 'on'
# copy gives one property's value to another.
copy Lamp.Caption Ticker.Caption
expect Lamp.Caption 'Ticker'
fails copy Lamp.Caption Clock.Interval
