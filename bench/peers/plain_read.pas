I := 0; A := 0; B := 5; FOR I := 1 TO 1000000 DO A := B;
