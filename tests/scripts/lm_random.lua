-- The random number binding on fixed, reversed and empty ranges, and with a wrong count.
random_fixed_ok = true
for i = 1, 200 do
    if LM_GetRandomNumber(3, 3) ~= 3 then random_fixed_ok = false end
end
random_reversed_ok = true
for i = 1, 200 do
    local n = LM_GetRandomNumber(5, 4)
    if n < 4 or n > 5 then random_reversed_ok = false end
end
random_wide_ok = true
for i = 1, 200 do
    local n = LM_GetRandomNumber(-10, 10)
    if n < -10 or n > 10 or n ~= math.floor(n) then random_wide_ok = false end
end
random_bad_count = LM_GetRandomNumber(1)
