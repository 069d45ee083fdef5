-- Bootstrap.lua
-- The first script the engine runs. Only the Lua manager exists at this point, so nothing
-- here may touch options, controls or resources: it only sets where the game's data lives.
-- The game ships its scripts loose under Data/Scripts/, so no script pack is opened.

gsDataRoot = "Data/"
gsScriptRoot = gsDataRoot .. "Scripts/"
