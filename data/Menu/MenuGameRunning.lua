-- MenuGameRunning.lua: the in-game HUD's script. The HUD (and its inspectors, which share this
-- file) builds its own controls; the script's Create is called with the menu and adds nothing.
function Create(menu)
end
