-- A sprite's creation script: runs with the new sprite active and the number 0.
gsCreateArgument = LM_GetScriptArgument(0)
Sprite_SetProperty("Sizes", 20, 10)
Sprite_SetProperty("Position", 50, 60)
