-- MenuConfirmGeneric.lua: the generic confirmation's script. The box builds its prompt and its
-- Yes and No buttons itself; the script adds nothing to them.
function Create(menu)
end
