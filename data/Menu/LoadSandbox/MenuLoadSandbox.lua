-- MenuLoadSandbox.lua: the script of the three load screens (careers, sandboxes, layouts). The
-- screens build their list and buttons themselves; the script adds nothing to them.
function Create(menu)
end
