I := 0; FOR I := 1 TO 1000000 DO BEGIN A := Abs(-I); B := Max(I, 5000); END;
