x = 0 for i = 1, 1000000 do if math.fmod(i, 3) == 0 then x = x + 1 end end
