-- MenuConfirmExit.lua: the script of the exit confirmation, of the question box and of the
-- firing and removal questions of play, which share it. The screens build their own controls;
-- the script adds nothing to them.
function Create(menu)
end
