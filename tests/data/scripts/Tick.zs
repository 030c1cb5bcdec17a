# The handler Tick of ticker.txt: each tick switches the lamp.
when Lamp.Caption 'on' set Lamp.Caption 'was on'
when Lamp.Caption 'off' set Lamp.Caption 'on'
unless Lamp.Caption 'on' set Lamp.Caption 'off'
