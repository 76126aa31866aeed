-- MenuLoadGame.lua: the fixed load screen's script. The screen builds its background and its
-- LOAD and CANCEL buttons itself; the script adds nothing to them.
function Create(menu)
end
