i = 0 while i < 3000000 do i = i + 1 end
