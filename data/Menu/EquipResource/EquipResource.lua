-- EquipResource.lua: the build catalogue's screen script, which the reports and the end-of-day
-- summary also run. The screens lay out their own controls; Create adds nothing to them.

function Create(menu)
end
