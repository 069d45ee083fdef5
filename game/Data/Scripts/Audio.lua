-- Audio.lua
-- Registers the game's sounds and music. The files are generated tones (tools/gentones).
-- Sounds that game code stops by name are streams: only streams can be stopped.

local sAudioRoot = gsDataRoot .. "Audio/"

local saSamples = {
    "MenuChange", "MenuSelect", "StageSelected", "HealthRecover", "SubtankFill",
    "BossDoorOpen", "BossDoorClose", "BusterDeflect",
    "Rank1BusterShot", "Rank2BusterShot", "Rank3BusterShot",
    "Dash", "Jump", "Land", "KestraInjured", "KestraDying", "LightningStrike", "TeleportIn", "TeleportOut",
    "EnemyHurt", "EnemyExplode", "EnemyShoot",
}
for i = 1, #saSamples do
    AudioManager_Register(saSamples[i], "AsSound", "AsSample", sAudioRoot .. saSamples[i] .. ".wav")
end

AudioManager_Register("BusterCharging", "AsSound", "AsStream", sAudioRoot .. "BusterCharging.wav")

-- Two seconds of intro, then the six-second phrase repeats.
AudioManager_Register("StageSelect", "AsMusic", "AsStream", sAudioRoot .. "StageSelect.wav")
AudioPackage_ActivateLoop(2.0, 8.0)
