I := 0; WHILE I < 3000000 DO I := I + 1;
