-- Dragon tank: its treads roll on, a second of animation every 60 ticks.
fnEnemyPuppetTick()
