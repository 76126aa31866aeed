-- Startup.lua: run once when the game starts. It registers every entity class, builds the root
-- entity tree and opens the first menu, the publisher's splash; should that menu not be made, a
-- backdrop viewport shows the world.

-- Every class the game knows, in the order the application publishes them. A name that is not
-- published (a program built without that class) is nil and is passed over.
local classes = {
    "EcNull", "EcViewport", "EcClear", "EcEnvironment", "EcTimeOfDay", "EcSun", "EcLensFlare",
    "EcObserver2", "EcCloudDome2", "EcSkyDome", "EcPlayfield1", "EcAvatar1", "EcMtGame",
    "EcMtPowerGrid", "EcCameraFixed", "EcCameraAvatar1", "EcCameraVantor1", "EcCameraAttach",
    "EcRube1", "EcCarny", "EcRubeGen", "EcRubeSpawnPt", "EcCube1", "EcLight", "EcSkyBoxCube",
    "EcSkyBox3", "EcSound", "EcGroupSound", "EcVrebBud1", "EcOvalDisplay1", "EcMarker1",
    "EcStaticObject", "EcArticuModel", "EcCameraWaypoint", "EcWptFollower", "EcGameGrid",
    "EcAttrBase", "EcTerrain2", "EcGrassPatch", "EcGrassMesh", "EcParticleSpray", "EcParticles",
    "EcMusic", "EcIconFlyup", "EcLitter", "EcMouseCursor1", "EcTextButton", "EcTextButton2",
    "EcStaticGraphic", "EcCtl3Slideshow", "EcCtl3StatBar3Color", "EcAnimGraphic",
    "EcGraphicButton", "EcGraphicCheckBox", "EcTextCheckBox", "EcEditLine", "EcStaticText",
    "EcStaticTextBox", "EcIncDecButton", "EcCustom", "EcSlider", "EcMenuRoot", "EcMenuPublisher",
    "EcMenuTolvane", "EcMenuEsrb", "EcMenuSplash", "EcMenuMain", "EcMenuChooseProfile",
    "EcMenuSandbox", "EcMenuLoadSandbox", "EcMenuConfirmExit", "EcMenuWorldLoader",
    "EcMenuGameRunning", "EcMenuInspectRube", "EcMenuInspectCarny", "EcMenuInspectAttr",
    "EcMenuRemoveAttr", "EcMenuFireCarny", "EcMenuInGame", "EcMenuReports", "EcMenuOptionsAudio",
    "EcMenuOptionsVideo", "EcMenuNewCareer", "EcMenuEquipResource", "EcMenuPowerStats",
    "EcMenuReportSummary", "EcMenuReportMaint", "EcMenuReportPower", "EcMenuReportHourly",
    "EcMenuReportEmployees", "EcMenuVenueIntro", "EcMenuEndOfDay", "EcMenuSandboxSave",
    "EcMenuLayoutSave", "EcMenuLoadLayout", "EcMenuFileExists", "EcMenuYesNo", "EcMenuCredits",
    "EcMenuLoadGame", "EcMenuMidwaySelector", "EcMenuVenueSetup", "EcMenuHelp", "EcMenuAttractor",
    "EcMenuConfirmGeneric", "EcMenuInGameConfirm", "EcMenuCareer", "EcMenuCareerSummary",
    "EcMenuLoadCareer"
}

for _, name in ipairs(classes) do
    local proc = _G[name]
    if proc then
        Entity.CreateClass(proc, nil, 0)
    end
end

Game.CreateEntityTree()

local publisher = Entity.Create("MenuPublisher", Game.GetMenuEntity())
if publisher then
    Entity.Start(publisher)
else
    local backdrop = Entity.Create("Viewport", Game.GetViewportEntity())
    if backdrop then
        Entity.SetString(backdrop, "name", "Backdrop")
        Entity.SetBool(backdrop, "clear", TRUE)
        Entity.SetColor3(backdrop, "color", 0.2, 0.4, 0.6)
        Entity.SetFloat(backdrop, "width", 0)
        Entity.SetVoid(backdrop, "entDrawRoot", Game.GetWorldEntity())
        Entity.Start(backdrop)
    end
end

System.OutputDebugString("Startup.lua: done\n")
