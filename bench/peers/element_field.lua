self = {x = 0} for i = 1, 1000000 do self.x = self.x + 1 end
