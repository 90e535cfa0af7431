X := 0; I := 0; FOR I := 1 TO 1000000 DO IF Mod(I, 3) = 0 THEN X := X + 1;
