-- The video options page. The page builds its panel, tabs, sliders, OK and Cancel itself; the
-- control names C_AUDIO, C_VIDEO, C_VIDEOMODE1 to C_VIDEOMODE3, C_OK and C_CANCEL are there for
-- anything added here. The video modes have no controls and no action.
function Create (menu) end
