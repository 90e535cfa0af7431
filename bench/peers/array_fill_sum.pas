I := 0; SUM := 0; FOR I := 1 TO 200000 DO A[I] := I * 2; FOR I := 1 TO 200000 DO SUM := SUM + A[I];
