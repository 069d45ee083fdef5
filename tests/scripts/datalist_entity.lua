-- Run with an entity active: the DataList_ globals and the RE_ data globals reach the same
-- strict list, the entity's own.
DataList_Define("Hops", "N", 2)
RE_SetData("Hops", "N", 3)
gnHops = DataList_GetData("Hops", "N")
RE_DefineData("Colour", "S", "teal")
gsColour = DataList_GetData("Colour", "S")
-- Strict: a name never defined is refused, and reads back as 0.
DataList_SetData("Undefined", "N", 9)
gnUndefined = DataList_GetData("Undefined", "N")
