-- EquipResource.lua: the build catalogue's script. The screen builds its own controls; Create
-- is where a data set adds to them (C_ATTRACTIONS, C_FOOD, C_GOC, C_RIDES, C_UTILITY, C_UP,
-- C_DOWN, C_OK, C_CANCEL, C_THUMB1..3, C_TITLE1..3, C_TEXT1..3, C_LOCKED1..3 and C_SELECT1..3
-- are set before it runs).
function Create(menu)
end
