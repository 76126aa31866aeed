-- MenuSandbox.lua: the script of the sandbox menu and of the career menu, which shares it. The
-- screens build their own controls; the script adds nothing to them.
function Create(menu)
end
