-- MenuConfirmExit.lua: the script of the exit confirmation and of the question box, which shares
-- it. The screens build their own controls; the script adds nothing to them.
function Create(menu)
end
