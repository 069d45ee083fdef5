-- Destruction script: counts deaths and records the dying enemy's name.
gDeaths = (gDeaths or 0) + 1
gDeadName = Enemy_GetProperty("Name")
