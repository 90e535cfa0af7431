S := ''; I := 0; FOR I := 1 TO 20000 DO S := S + 'a';
