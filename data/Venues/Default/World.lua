-- World.lua: builds the default venue's world. The game runs this file and then applies the
-- player's preferences to the camera it made, so the whole world is made here without a wait.

local root = Game.GetRootEntity()
local world = Game.GetWorldEntity()

Game.LoadEntitiesIni("Venues\\Default\\World.ini")

local camera = Entity.FindName(world, "Camera2")

-- The whole screen, drawing the world through the management camera.
local view = Entity.Create("Viewport", Game.GetViewportEntity())
if view then
    Entity.SetString(view, "name", "ViewportMain")
    Entity.SetFloat(view, "width", 0)
    Entity.SetVoid(view, "entDrawRoot", world)
    Entity.SetVoid(view, "entCamera", camera)
    Entity.SetBool(view, "clear", TRUE)
    Entity.SetBool(view, "setEarPos", TRUE)
    Entity.Start(view)
end

-- The dome stays centred over the grounds.
Entity.SetPos(Entity.FindName(world, "SkyDome"), 512, 0, 512)

-- The placing cursor overlaps the grid wherever it goes: it must never block cells.
Entity.SetFlag(Entity.FindName(world, "AttrCursor"), EF_PASSABLE)

Game.SetKeyboardEnt(camera)

-- Day one: the game object caches the clock and the patron generator and opens the day.
Entity.StartNewDay(Entity.FindName(root, "Game"))

Entity.GameEventPre(root, GE_WORLDLOADED, NULLENT)
