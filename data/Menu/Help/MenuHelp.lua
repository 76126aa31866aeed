-- The shipped form: the menu lays out its own controls.
function Create (menu) end
