-- MenuSandbox.lua: the sandbox menu's and the venue set-up's script. The screens build their own
-- controls; Create is where a data set adds to them (the control names C_NEW, C_LOAD, C_BACK,
-- C_START are set before it runs).
function Create(menu)
end
