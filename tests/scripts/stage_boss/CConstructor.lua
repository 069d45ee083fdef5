-- A boss for the stage helpers' test: a plain box with some health where the helper put it.
Enemy_SetProperty("BoundingBoxSize", 40, 40)
Enemy_SetProperty("Health", 10)
