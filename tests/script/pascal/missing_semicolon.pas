// expect error: 2:14: ';' expected
begin x := 1 y := 2 end.
