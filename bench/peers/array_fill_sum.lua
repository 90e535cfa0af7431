a = {} sum = 0 for i = 1, 200000 do a[i] = i * 2 end for i = 1, 200000 do sum = sum + a[i] end
