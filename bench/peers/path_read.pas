I := 0; A := 0; FOR I := 1 TO 1000000 DO A := SELF.X;
