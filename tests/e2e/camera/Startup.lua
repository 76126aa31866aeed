-- The management camera's end-to-end run: the world of CameraWorld.ini seen through "Camera2",
-- which takes the keyboard. Every frame the camera's eye position goes to the debugger output
-- as "camera: frame N pos X Y Z", for the test to follow.
--
-- The first time the eye has moved 5 units along +x (a pan, which only a right-button drag
-- makes here) the keyboard goes to a stand-in for 90 frames and then comes back. Cut off that
-- way in the middle of a drag, the camera lets the cursor go and edge-scrolls from the last
-- pointer position it heard: the one from before the press, unless cursor positions reached it
-- through the lock.
for _, name in ipairs({ "EcNull", "EcViewport", "EcEnvironment", "EcTerrain2", "EcGameGrid",
    "EcCameraVantor1" }) do
    Entity.CreateClass(_G[name], nil, 0)
end
Game.CreateEntityTree()
Game.LoadEntitiesIni("CameraWorld.ini")

local root = Game.GetRootEntity()
local camera = Entity.FindName(root, "Camera2")
local viewport = Entity.FindName(root, "ViewportMain")
Entity.SetVoid(viewport, "entDrawRoot", Game.GetWorldEntity())
Entity.SetVoid(viewport, "entCamera", camera)
Game.SetKeyboardEnt(camera)
local standIn = Entity.Create("ENTNULL", root)
System.OutputDebugString("Startup.lua: done\n")

local frame, startX, takenAt = 0, nil, nil
while true do
    frame = frame + 1
    local x, y, z = Entity.GetPos(camera)
    startX = startX or x
    if not takenAt and x > startX + 5 then
        Game.SetKeyboardEnt(standIn)
        takenAt = frame
        System.OutputDebugString("camera: keyboard taken\n")
    elseif takenAt and frame == takenAt + 90 then
        Game.SetKeyboardEnt(camera)
        System.OutputDebugString("camera: keyboard back\n")
    end
    System.OutputDebugString(string.format("camera: frame %d pos %.3f %.3f %.3f\n", frame, x, y, z))
    Script.WaitFrame(1)
end
