-- Appended to the venue run's Startup.lua: the management camera is held on two views in turn,
-- its target, pitch and distance pinned by their own limits (its yaw stays 0: it looks along +z).
-- Each view is logged with the eye once the camera has come to rest, so that the test works out
-- the screen from the camera. The meadow's grass is drawn only within 80 units of the eye, far
-- from the fountain: one view for each.

local viewCamera = Entity.FindName(Game.GetWorldEntity(), "Camera2")
Entity.SetBool(viewCamera, "edgeScrollEnable", FALSE)

local function Near(a, b)
    return a - b < 0.0005 and b - a < 0.0005
end

local function Hold(label, x, z, pitch, distance)
    Entity.SetFloat(viewCamera, "minX", x)
    Entity.SetFloat(viewCamera, "maxX", x)
    Entity.SetFloat(viewCamera, "minZ", z)
    Entity.SetFloat(viewCamera, "maxZ", z)
    Entity.SetFloat(viewCamera, "minPitch", pitch)
    Entity.SetFloat(viewCamera, "maxPitch", pitch)
    Entity.SetFloat(viewCamera, "minZoom", distance)
    Entity.SetFloat(viewCamera, "maxZoom", distance)
    -- At rest: the eye unmoved over 10 frames.
    local px, py, pz, still = 0, 0, 0, 0
    while still < 10 do
        Script.WaitFrame(1)
        local ex, ey, ez = Entity.GetPos(viewCamera)
        if Near(ex, px) and Near(ey, py) and Near(ez, pz) then
            still = still + 1
        else
            still = 0
        end
        px, py, pz = ex, ey, ez
    end
    System.OutputDebugString(string.format("venue: %s in view, eye %.3f %.3f %.3f\n", label, px,
        py, pz))
end

-- The meadow (x 524 to 556, z 516 to 552) in the upper part, the path before it below.
Hold("meadow", 540, 525, 0.785398, 50)
-- Long enough for the test's screenshots of it on a loaded machine.
Script.WaitSec(40)
System.OutputDebugString("venue: meadow view ends\n")
-- The fountain at (512, 0.5, 396), 40 units ahead, in the middle.
Hold("fountain", 512, 400, 0.6, 40)
