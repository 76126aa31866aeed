SetSvar(3, 1)
local co = coroutine.create(function(x) coroutine.yield(x + 1) end)
coroutine.resume(co, 2)
WaitFrame(1)
IncSvar(3)
WaitSec(0.5)
function Create(menu) done = GetSvar(3) .. string.rep("x", 4) end
