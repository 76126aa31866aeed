-- MenuChooseProfile.lua: the profile chooser's script. C_NEW, C_DELETE and C_BACK name its
-- buttons; the screen builds them itself and the script adds nothing.
function Create(menu)
end
