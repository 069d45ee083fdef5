-- Run with an entity active: it asks for its own removal and for "B"'s.
if(RE_IsCollidingWith("This") == false) then
    RE_SetDestruct(true)
end
EM_PushEntity("B")
RE_SetDestruct(true)
