-- Common/ShotReset.lua
-- Reset script of the sample enemies' shots. Loading a map, her death's reload of the one she
-- is on included, takes away every enemy, so the shots they fired go with them rather than fly
-- on through the view she comes back to.
Proj_SetProperty("SelfDestruct", true)
