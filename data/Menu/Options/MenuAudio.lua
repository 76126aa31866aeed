-- The audio options page. The page builds its panel, tabs, sliders, OK and Cancel itself; the
-- control names C_AUDIO, C_VIDEO, C_MUSIC, C_OK and C_CANCEL are there for anything added here.
function Create (menu) end
