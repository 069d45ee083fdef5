-- Enemies/Setup.lua
-- The sample enemies' pictures, animations and palette, and the helpers their constructor
-- scripts share. The frames are drawn by tools/genenemyart into
-- Data/Graphics/Generated/Enemies/, one file per frame; the palette comes from Enemies.slf.
--
-- The kinds live in the folders of the enemy presets that maps name in their spawn lists:
--   Bat          Gloomwing: flies at Kestra in bursts (AIR_MOVEMENT toward a target)
--   Jellyfish    Driftbell: drifts to and fro on a wave (looping AIR_MOVEMENT_SIN)
--   Tick         Crawler: patrols the ground (looping GROUND_MOVEMENT), palette variants
--   Sentinel     Sentinel: hovers under script control (SCRIPT CONTROL), spits at her (LEMON_PROJECTILE)
--   Wasp         Hive: hangs still and releases Gloomwing swarmers (SPAWN_ENEMY)
--   GreatBlight  Warden: the boss; per-frame hitboxes, volleys of spit, the boss health bar
--   Goblin       Goblin: a skeletal puppet that patrols; hit through its parts' polygons
--   DragonTank   Dragon tank: a skeletal puppet that stands and rolls its treads

gsEnemyArt = gsDataRoot .. "Graphics/Generated/Enemies/"
gsEnemyScripts = gsScriptRoot .. "Enemies/"
gsEnemyAnims = "Root/Animations/Enemies/"
local sFrames = "Root/Images/Enemies/"

-- Frames sKind00 .. sKind(iCount - 1), under a heading of their kind.
local function fnLoadEnemyFrames(sKind, iCount)
    fnLoadFrames(gsEnemyArt, sFrames .. sKind .. "/", sKind, iCount)
end

-- The animation gsEnemyAnims .. sKind .. "/" .. sName showing frames iaOrder of sKind.
local function fnBuildEnemyAnimation(sKind, sName, iaOrder, fTicks)
    DL_AddPath(gsEnemyAnims .. sKind .. "/")
    fnBuildAnimation(gsEnemyAnims .. sKind .. "/" .. sName, sFrames .. sKind .. "/", sKind, iaOrder, fTicks)
end

fnLoadEnemyFrames("Gloomwing", 2)
fnLoadEnemyFrames("Driftbell", 2)
fnLoadEnemyFrames("Crawler", 2)
fnLoadEnemyFrames("Sentinel", 2)
fnLoadEnemyFrames("Hive", 2)
fnLoadEnemyFrames("Warden", 2)
fnLoadEnemyFrames("EyeShot", 2)
fnLoadEnemyFrames("WardenShot", 2)

fnBuildEnemyAnimation("Gloomwing", "Fly", {0, 1}, 6)
fnBuildEnemyAnimation("Driftbell", "Drift", {0, 1}, 20)
fnBuildEnemyAnimation("Crawler", "Walk", {0, 1}, 10)
fnBuildEnemyAnimation("Sentinel", "Eye", {0}, 60)
fnBuildEnemyAnimation("Sentinel", "Glow", {1}, 60)
fnBuildEnemyAnimation("Hive", "Hang", {0}, 60)
fnBuildEnemyAnimation("Hive", "Open", {1}, 60)
fnBuildEnemyAnimation("Warden", "Walk", {0}, 60)
fnBuildEnemyAnimation("Warden", "Rear", {1}, 60)
fnBuildEnemyAnimation("EyeShot", "Fly", {0, 1}, 4)
fnBuildEnemyAnimation("WardenShot", "Fly", {0, 1}, 4)

SLF_Open(gsDataRoot .. "Graphics/Generated/Enemies.slf")
if SLF_IsFileOpen() then
    DL_AddPath("Root/Other/Palettes/Enemies/")
    DL_ExtractPalette("Enemies", "Root/Other/Palettes/Enemies/All")
    SLF_Close()
else
    fnLog("Enemies: Enemies.slf did not open, no palette variants")
end

-- Helpers for the constructors (each runs with its enemy active).

-- Box, health, contact damage, logic script, the shared sounds and the shared death.
function fnEnemyBasics(iWidth, iHeight, iHealth, iContact, sLogic)
    Enemy_SetProperty("BoundingBoxSize", iWidth, iHeight)
    Enemy_SetProperty("Health", iHealth)
    Enemy_SetProperty("ContactDamage", iContact)
    Enemy_SetProperty("PathToLogicScript", sLogic)
    Enemy_SetProperty("PathToDestructionScript", gsEnemyScripts .. "Common/Death.lua")
    Enemy_SetProperty("DamageSoundEffect", "EnemyHurt")
    Enemy_SetProperty("InvincibleSoundEffect", "BusterDeflect")
end

-- The animations of one kind, in slot order, drawn at the given offset from the box.
function fnEnemyLook(sKind, saNames, fOffsetX, fOffsetY)
    Enemy_Appearance_SetProperty("AnimationsTotal", #saNames)
    for i = 1, #saNames do
        Enemy_Appearance_SetProperty("Animation", i - 1, gsEnemyAnims .. sKind .. "/" .. saNames[i])
    end
    Enemy_Appearance_SetProperty("AnimationOffsets", fOffsetX, fOffsetY)
    Enemy_Appearance_SetProperty("AnimationIndex", 0)
    Enemy_Appearance_SetProperty("AnimationDirectionFacing", "Left")
end

-- Where a constructor should place its enemy: the two text arguments "x", "y" when given
-- (Enemy_Create from a map script), else where the spawn point already put it.
function fnEnemyHome()
    if LM_GetNumOfArgs() >= 2 then
        local fX = tonumber(LM_GetScriptArgument(0))
        local fY = tonumber(LM_GetScriptArgument(1))
        if fX and fY then
            Enemy_SetProperty("Position", fX, fY)
            Enemy_SetProperty("SpawnPointCoordinates", fX, fY)
            return fX, fY
        end
    end
    return Enemy_GetProperty("Position")
end

-- "Left" or "Right": the side Kestra is on, seen from the active enemy.
function fnEnemySideOfPlayer()
    local fX = Enemy_GetProperty("Center")
    local fPX = Player_GetCenter()
    if fPX < fX then return "Left" end
    return "Right"
end

-- Puppets have no clock of their own: each tick gives the active enemy's puppet its animation
-- time, a sixtieth of a second more than the last, kept per enemy name.
gtEnemyPuppetTimes = {}
function fnEnemyPuppetTick()
    local sName = Enemy_GetProperty("Name")
    local fTime = (gtEnemyPuppetTimes[sName] or 0) + 1 / 60
    gtEnemyPuppetTimes[sName] = fTime
    Enemy_Appearance_SetProperty("PuppetAnimPercent", fTime)
end

-- The shots the enemies spit: each kind's box size; its picture is one unit wider on every
-- side (tools/genenemyart). The Sentinel's are orange, the Warden's violet and larger.
local tEnemyShotSizes = {EyeShot = 12, WardenShot = 14}

-- Configures the active lemon attack's projectile as a shot of kind sShot flying at fSpeedX,
-- fSpeedY. A shot intercepts nothing itself, so it skips the interception sweep; a map load
-- ends it. Given sFirer, the name of the enemy that fires it, the shot also ends as soon as that
-- enemy is gone: a beaten boss's shots go with it.
function fnEnemySpit(sShot, iDamage, fSpeedX, fSpeedY, sFirer)
    local iSize = tEnemyShotSizes[sShot]
    AIAttack_SetProperty("Damage", iDamage)
    AILemonAttack_PushPropertyAsActiveObject("Projectile")
    Proj_SetProperty("Dimensions", 0, 0, iSize, iSize)
    Proj_SetProperty("Speeds", fSpeedX, fSpeedY, 0)
    Proj_SetProperty("IgnoreClips", true)
    Proj_SetProperty("ImmuneToInterception", true)
    Proj_SetProperty("AnimationLibraryPath", gsEnemyAnims .. sShot .. "/Fly")
    Proj_SetProperty("AnimationDrawingOffsets", -1, -1)
    Proj_SetProperty("ResetScript", gsEnemyScripts .. "Common/ShotReset.lua")
    if sFirer then
        RE_DefineData("sFirer", "S", sFirer)
        Proj_SetProperty("LogicScript", gsEnemyScripts .. "Common/ShotOfFirer.lua")
    end
    DL_PopActiveEntity()
end
