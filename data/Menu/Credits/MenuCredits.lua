-- MenuCredits.lua: the script of the credits and of the career summary, which shares it. The
-- screens build their own controls; the script adds nothing to them.
function Create(menu)
end
