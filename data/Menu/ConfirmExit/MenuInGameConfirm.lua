-- MenuInGameConfirm.lua: the script of the question before the game is left for the main menu.
-- The screen builds its own heading, lines and buttons; the script adds nothing to them.
function Create(menu)
end
