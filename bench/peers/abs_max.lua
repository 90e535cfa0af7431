for i = 1, 1000000 do a = math.abs(-i) b = math.max(i, 5000) end
