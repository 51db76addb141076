// expect error: 2:18: 'TO' or 'DOWNTO' expected
begin for i := 1 step 10 do x := i end.
