-- MenuNewCareer.lua: the new-career screen's script. The screen builds its own controls (the
-- name, the difficulty buttons, Back and Start); the script adds nothing to them.
function Create(menu)
end
