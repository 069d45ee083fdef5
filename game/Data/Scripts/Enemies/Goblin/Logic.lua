-- Goblin: its walk plays on, a second of animation every 60 ticks.
fnEnemyPuppetTick()
